// Builders of synthetic QTX data sets for tests: through CQtxFile (well-formed
// files) or as raw bytes (hostile files with any header and descriptor values).
#pragma once

#include "dataset/QtxLayout.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct QtxDatumShape {
    std::string mnemonic;
    uint8_t typeCode = 0;
    uint8_t category = 1;
    uint16_t traces = 1;
    uint16_t samples = 1;
    uint8_t unit = 1;
    float step = 10.0f;
    uint16_t samples2 = 0; // 0: one-axis datum
    uint8_t unit2 = 0xFF;
    float step2 = 0.0f;
    uint16_t first = 0; // index of the first sample of each axis
    uint16_t first2 = 0;
};

// Value of sample `index` (trace by trace, row by row) of datum `datum` in frame `frame`.
using QtxSampleFn = std::function<float(int frame, int datum, size_t index)>;

// A distinct, exactly representable value per sample, so that misplaced reads show.
float DefaultSample(int frame, int datum, size_t index);

// Writes a data set with CQtxFile: `frames` frames at depths top + k x step.
// Returns false when any CQtxFile call failed.
bool WriteQtx(const std::string& path, const std::vector<QtxDatumShape>& datums, int frames, double top = 1000.0,
              double step = 0.5, const QtxSampleFn& sample = DefaultSample, uint8_t logDirection = qtx::kLogDown);

// Raw bytes of a header and descriptors as given, followed by `tail`.
std::vector<uint8_t> RawQtx(const QtxFileHeader& header, const std::vector<QtxDatumDescriptor>& descriptors,
                            const std::vector<uint8_t>& tail = {});

// Rewrites the header of a data set in place (a data set written by WriteQtx with
// fields no writer would give it).
void PatchQtxHeader(const std::string& path, const std::function<void(QtxFileHeader&)>& patch);

// A data set as it lies on disk: header, descriptors and every whole frame.
struct QtxImage {
    QtxFileHeader header;
    std::vector<QtxDatumDescriptor> descriptors;
    std::vector<double> depths;
    std::vector<std::vector<float>> frames; // the values behind each depth
    size_t tornBytes = 0;                   // bytes after the last whole frame
};
QtxImage LoadQtx(const std::string& path);

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::string& path);
