#include "lis/LisRecords.h"

#include "lis/LisRecordIO.h"

int CLisChannelItem::BytesPerSample() const { return lis::RepresentationSize(m_reprCode); }
