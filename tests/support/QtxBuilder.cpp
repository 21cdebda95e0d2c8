#include "support/QtxBuilder.h"

#include "dataset/QtxFile.h"
#include "platform/Endian.h"

#include <algorithm>
#include <fstream>
#include <iterator>

float DefaultSample(int frame, int datum, size_t index)
{
    return float(frame * 1000 + datum * 100) + float(index % 4096) * 0.25f;
}

bool WriteQtx(const std::string& path, const std::vector<QtxDatumShape>& datums, int frames, double top,
              double step, const QtxSampleFn& sample, uint8_t logDirection)
{
    CQtxFile file;
    if (!OkOrShow(file.OpenWrite(path))) return false;
    CQtxDescriptorList list;
    for (const auto& d : datums) {
        const int ok = d.samples2 == 0
                           ? OkOrShow(file.AddDatum(list, d.mnemonic, d.typeCode, 1, d.category, d.traces, d.unit,
                                                    d.step, d.samples, d.first))
                           : OkOrShow(file.AddTwoAxisDatum(list, d.mnemonic, d.typeCode, 2, d.category, d.traces,
                                                           d.unit, d.step, d.samples, d.first, d.unit2, d.step2,
                                                           d.samples2, d.first2));
        if (!ok) return false;
    }
    QtxFileHeader header;
    header.logDirection = logDirection;
    header.depthUnits = qtx::kUnitsFeet;
    header.depthStep = step;
    std::fill(std::begin(header.history), std::end(header.history), ' ');
    file.SetHeader(header);
    if (!OkOrShow(file.WriteHeader()) || !OkOrShow(file.WriteDescriptors(list))) return false;
    std::vector<float> values(qtx::kDataBufferFloats);
    for (int f = 0; f < frames; ++f) {
        const double depth = top + f * step;
        if (!OkOrShow(file.WriteDepth(&depth))) return false;
        for (size_t j = 0; j < datums.size(); ++j) {
            const auto& d = datums[j];
            const size_t total = size_t(d.traces) * d.samples * (d.samples2 ? d.samples2 : 1);
            for (size_t start = 0; start < total; start += qtx::kDataBufferFloats) {
                const size_t n = std::min(total - start, qtx::kDataBufferFloats);
                for (size_t i = 0; i < n; ++i) values[i] = sample(f, int(j), start + i);
                if (!OkOrShow(file.WriteData(values.data(), int(n)))) return false;
            }
        }
    }
    return OkOrShow(file.Finalize()) == 1;
}

std::vector<uint8_t> RawQtx(const QtxFileHeader& header, const std::vector<QtxDatumDescriptor>& descriptors,
                            const std::vector<uint8_t>& tail)
{
    std::vector<uint8_t> bytes(qtx::kHeaderSize + descriptors.size() * qtx::kDescriptorSize);
    header.Encode(bytes.data());
    for (size_t i = 0; i < descriptors.size(); ++i)
        descriptors[i].Encode(bytes.data() + qtx::kHeaderSize + i * qtx::kDescriptorSize);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

void PatchQtxHeader(const std::string& path, const std::function<void(QtxFileHeader&)>& patch)
{
    auto bytes = ReadBytes(path);
    if (bytes.size() < qtx::kHeaderSize) return;
    QtxFileHeader header;
    header.Decode(bytes.data());
    patch(header);
    header.Encode(bytes.data());
    WriteBytes(path, bytes);
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

QtxImage LoadQtx(const std::string& path)
{
    QtxImage image;
    const std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < qtx::kHeaderSize) return image;
    image.header.Decode(bytes.data());
    const size_t count = image.header.datumCount;
    if (bytes.size() < qtx::DataStart(count)) return image;
    for (size_t i = 0; i < count; ++i) {
        image.descriptors.emplace_back();
        image.descriptors.back().Decode(bytes.data() + qtx::kHeaderSize + i * qtx::kDescriptorSize);
    }
    const size_t frameSize = image.header.frameSize;
    size_t at = qtx::DataStart(count);
    for (; frameSize >= qtx::kDepthSize && at + frameSize <= bytes.size(); at += frameSize) {
        image.depths.push_back(endian::GetLEDouble(bytes.data() + at));
        std::vector<float> values((frameSize - qtx::kDepthSize) / 4);
        endian::LEBytesToFloats(values.data(), bytes.data() + at + qtx::kDepthSize, values.size());
        image.frames.push_back(std::move(values));
    }
    image.tornBytes = bytes.size() > at ? bytes.size() - at : 0;
    return image;
}
