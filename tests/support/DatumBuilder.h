// Datums as the QTX reader lists them, for tests of the code that takes a datum
// list without a file. Datum `number` gets type code 100 + number and frame offset
// 8 + 100 x number, so every copied field tells which datum it came from.
#pragma once

#include "dataset/QtxFile.h"

#include <memory>
#include <string>

inline std::unique_ptr<CQtxDatum> OneAxisDatum(const std::string& mnemonic, uint8_t category, uint16_t number,
                                               uint8_t unit, uint16_t count, float step, uint16_t traces = 1)
{
    return std::make_unique<CQtxDatum>(1, mnemonic, uint8_t(100 + number), category, 0, number, traces, 1,
                                       uint32_t(8 + 100 * number), 4u * traces * count, unit, 0, count, step);
}

// A semblance map: axis 1 of `count1` rows from `first1`, axis 2 of `count2` columns from `first2`.
inline std::unique_ptr<CQtxDatum> MapDatum(const std::string& mnemonic, uint16_t number, uint8_t unit1,
                                           uint16_t first1, uint16_t count1, float step1, uint8_t unit2,
                                           uint16_t first2, uint16_t count2, float step2)
{
    return std::make_unique<CQtxDatum>(1, mnemonic, uint8_t(100 + number), kCategorySemblanceMap, 0, number, 1, 2,
                                       uint32_t(8 + 100 * number), 4u * count1 * count2, unit1, first1, count1, step1,
                                       unit2, first2, count2, step2);
}
