#include "dataset/QtxLayout.h"

#include "platform/Endian.h"

#include <cstring>

using namespace endian;
using namespace qtx;

void QtxAxisDescriptor::Encode(uint8_t* out) const
{
    out[kAxUnit] = unit;
    PutLE16(out + kAxFirstIndex, firstIndex);
    PutLE16(out + kAxSampleCount, sampleCount);
    PutLEFloat(out + kAxStep, step);
}

void QtxAxisDescriptor::Decode(const uint8_t* in)
{
    unit = in[kAxUnit];
    firstIndex = GetLE16(in + kAxFirstIndex);
    sampleCount = GetLE16(in + kAxSampleCount);
    step = GetLEFloat(in + kAxStep);
}

void QtxDatumDescriptor::Encode(uint8_t* out) const
{
    std::memcpy(out + kDscMnemonic, mnemonic, 4);
    out[kDscTypeCode] = typeCode;
    out[kDscCategory] = category;
    out[kDscTypeCode2] = typeCode2;
    PutLE16(out + kDscDatumNumber, datumNumber);
    PutLE16(out + kDscTraceCount, traceCount);
    PutLE16(out + kDscAxisCount, axisCount);
    PutLE32(out + kDscOffset, offset);
    PutLE32(out + kDscSize, size);
    axis1.Encode(out + kDscAxis1);
    axis2.Encode(out + kDscAxis2);
}

void QtxDatumDescriptor::Decode(const uint8_t* in)
{
    std::memcpy(mnemonic, in + kDscMnemonic, 4);
    typeCode = in[kDscTypeCode];
    category = in[kDscCategory];
    typeCode2 = in[kDscTypeCode2];
    datumNumber = GetLE16(in + kDscDatumNumber);
    traceCount = GetLE16(in + kDscTraceCount);
    axisCount = GetLE16(in + kDscAxisCount);
    offset = GetLE32(in + kDscOffset);
    size = GetLE32(in + kDscSize);
    axis1.Decode(in + kDscAxis1);
    axis2.Decode(in + kDscAxis2);
}

void QtxFileHeader::Encode(uint8_t* out) const
{
    out[kHdrLogDirection] = logDirection;
    out[kHdrDepthUnits] = depthUnits;
    PutLE32(out + kHdrFrameCount, frameCount);
    PutLE32(out + kHdrFrameSize, frameSize);
    PutLEDouble(out + kHdrTopDepth, topDepth);
    PutLEDouble(out + kHdrBottomDepth, bottomDepth);
    PutLEDouble(out + kHdrDepthStep, depthStep);
    PutLE16(out + kHdrDatumCount, datumCount);
    std::memcpy(out + kHdrHistory, history, kHistorySize);
}

void QtxFileHeader::Decode(const uint8_t* in)
{
    logDirection = in[kHdrLogDirection];
    depthUnits = in[kHdrDepthUnits];
    frameCount = GetLE32(in + kHdrFrameCount);
    frameSize = GetLE32(in + kHdrFrameSize);
    topDepth = GetLEDouble(in + kHdrTopDepth);
    bottomDepth = GetLEDouble(in + kHdrBottomDepth);
    depthStep = GetLEDouble(in + kHdrDepthStep);
    datumCount = GetLE16(in + kHdrDatumCount);
    std::memcpy(history, in + kHdrHistory, kHistorySize);
}
