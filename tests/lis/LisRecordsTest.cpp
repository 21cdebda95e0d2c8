#include "lis/LisRecords.h"

#include <gtest/gtest.h>

namespace {

TEST(LisChannelItem, SamplesFollowTheRepresentationCode)
{
    struct Case {
        uint8_t code;
        int samples;
    };
    for (const Case& c : {Case{79, 512}, Case{68, 256}, Case{73, 256}, Case{56, 1024}, Case{66, 1024}, Case{12, 1024}}) {
        CLisChannelItem channel;
        channel.m_reprCode = c.code;
        channel.m_size = 1024;
        EXPECT_EQ(channel.SampleCount(), c.samples) << int(c.code);
    }
}

TEST(WaveformPickItem, BecomesADatumOfItsTraceLength)
{
    CWaveformPickItem item;
    EXPECT_EQ(item.m_flag, 1u) << "built items carry the flag";
    item.m_samplesPerWaveform = 500;
    item.m_fixedDelay = 12;
    item.m_receiverCount = 8;
    EXPECT_EQ(item.TraceSamples(), 512);
    EXPECT_EQ(item.DatumSize(), 512u * 8u * 4u);
    for (uint8_t category : {0, 7, 200}) {
        item.m_category = category;
        EXPECT_EQ(item.DescriptorCategory(), 0) << int(category);
    }
    item.m_category = 3;
    EXPECT_EQ(item.DescriptorCategory(), 3);
}

} // namespace
