// The tool codes among which the scan harness chooses, by the input's length: every
// code that has a recogniser, so each recogniser is reached. The seeds use the same
// list to lead a tool's file to that tool.
#pragma once

#include "lis/LisRecognise.h"

#include <vector>

namespace lisfuzz {

inline const std::vector<int>& ScanTools()
{
    static const std::vector<int> tools = [] {
        std::vector<int> codes;
        for (int code = lis::kToolApx; code <= lis::kToolDslt; ++code)
            if (RecogniserFor(code)) codes.push_back(code);
        return codes;
    }();
    return tools;
}

// The tool the harness runs on an input of `size` bytes.
inline int ScanToolFor(size_t size) { return ScanTools()[size % ScanTools().size()]; }

} // namespace lisfuzz
