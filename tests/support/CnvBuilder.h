// Builder of synthetic CNV waveform files for tests, benchmarks and fuzz seeds. It
// lays out every byte itself (little-endian, packed), independent of the reader.
//
//   CnvShape s;  s.channels = 4;  s.samples = 256;  s.frames = 10;
//   WriteCnv(dir.File("in.cnv"), s);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CnvShape {
    uint8_t tool = 30;          // header byte 0
    uint8_t depthUnits = 1;     // header byte 1: 1 feet
    uint8_t spare = 0;          // header byte 2
    uint8_t channels = 2;       // header byte 3
    int16_t samples = 8;        // header bytes 4-5
    int16_t samplingPeriod = 10; // leading word of channel 0, frame 0
    int frames = 4;
    double top = 1000.0;        // frame k at top + k x step
    double step = 0.5;
    std::vector<double> depths; // when given, frame k's depth instead (as many as frames)
};

inline CnvShape Shape(uint8_t channels, int16_t samples, int frames)
{
    CnvShape s;
    s.channels = channels;
    s.samples = samples;
    s.frames = frames;
    return s;
}

// A distinct, exactly representable value per sample, so that misplaced reads show.
float CnvSample(int frame, int channel, int index);

// The whole file. Leading words other than the sampling period's hold 0x7777 in
// both halves, so that a reader taking the period from elsewhere shows.
std::vector<uint8_t> CnvBytes(const CnvShape& shape);
void WriteCnv(const std::string& path, const CnvShape& shape);

// Frame size of the shape, as the format defines it.
uint32_t CnvFrameSize(int channels, int samples);
