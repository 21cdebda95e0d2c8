// The file side that the processing setup dialogs share: which inputs changed since
// the last pick, and the depth range and datums of a picked data set.
#pragma once

#include "dataset/QtxFile.h"

#include <cstdint>
#include <string>

// A file of one kind (input or a profile) was picked at `path`; `previousPath` is
// what that kind held before. Forced, the kind counts as changed. Otherwise a size
// other than the last seen one (which it then takes) or another path is a change.
void NoteInputChange(uint32_t& changed, uint32_t& lastSize, bool force, const std::string& path,
                     const std::string& previousPath);

// Reads the depth range of an open data set (exchanged so that top <= bottom when
// `ordered`) and its datum list, then closes it. False, with the outputs untouched,
// when a depth is -1.0 or the list cannot be read (the reader reports the latter).
bool ReadDepthsAndDatums(CQtxFile& file, double& top, double& bottom, CQtxDatumList& datums, bool ordered = true);

// "%10.4f", as the setups show depths.
std::string DepthText(double depth);
// The caption of a slowness range in the data set's unit.
std::string SlownessRangeTitle(bool metres);
