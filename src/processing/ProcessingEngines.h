// The engines of the dormant processing runs, as far as this edition holds them:
// the objects each run is built from (its file names, filters, wait notices and data
// sets). Nothing creates them yet; the setup dialogs collect what a run is given.
// Each has a factory that returns no object when allocation fails.
#pragma once

#include "common/Fft.h"
#include "common/ProgressDlg.h"
#include "dataset/QtxFile.h"

#include <array>
#include <cstddef>
#include <memory>
#include <new>
#include <string>

// The factory and class name every engine object has.
template <typename T> struct EngineClass {
    static std::unique_ptr<T> CreateObject() { return std::unique_ptr<T>(new (std::nothrow) T); }
};

class CFrequencyFilter : public EngineClass<CFrequencyFilter> {
public:
    static constexpr const char* kClassName = "CFrequencyFilter";
    CFft m_fft; // sign and size are set by whoever runs the transform
};

class CTimeFilter : public EngineClass<CTimeFilter> {
public:
    static constexpr const char* kClassName = "CTimeFilter";
};

class CSlownessFilter : public EngineClass<CSlownessFilter> {
public:
    static constexpr const char* kClassName = "CSlownessFilter";
};

// A run's files: the paths, titles and extensions of what it reads and writes, and the
// data sets it has open.
template <size_t Names, size_t Files> struct EngineFiles {
    std::array<std::string, Names> m_names;
    std::array<CQtxFile, Files> m_files;
};

// What a filtering run filters with: a frequency filter and a time window.
struct FilterStages {
    CFrequencyFilter m_frequencyFilter;
    CTimeFilter m_timeFilter;
};

// The wait notices of a run that reads and saves whole data sets.
struct WaitNotices {
    CReadWaitDlg m_readWait;
    CSaveWaitDlg m_saveWait;
};

// One filtering run as the Filter Setup prepares it.
class CFilterWnd : public EngineClass<CFilterWnd>, public EngineFiles<23, 3>, public FilterStages, public WaitNotices {
public:
    static constexpr const char* kClassName = "CFilterWnd";
    CSlownessFilter m_slownessFilter;
};

// A frequency filter and a time window over one data set, without a slowness window.
class CMultiFilterWnd : public EngineClass<CMultiFilterWnd>, public EngineFiles<22, 3>, public FilterStages,
                        public WaitNotices {
public:
    static constexpr const char* kClassName = "CMultiFilterWnd";
};

// The picking runs of the Picking Setup.
class CPickWnd : public EngineClass<CPickWnd>, public EngineFiles<24, 3>, public FilterStages, public WaitNotices {
public:
    static constexpr const char* kClassName = "CPickWnd";
    CSlownessFilter m_slownessFilter;
};

class CAutoPickWnd : public EngineClass<CAutoPickWnd>, public EngineFiles<16, 2>, public FilterStages {
public:
    static constexpr const char* kClassName = "CAutoPickWnd";
};

class CAnisotropyWnd : public EngineClass<CAnisotropyWnd>, public EngineFiles<11, 3> {
public:
    static constexpr const char* kClassName = "CAnisotropyWnd";
};

class CStcWnd : public EngineClass<CStcWnd>, public EngineFiles<21, 3> {
public:
    static constexpr const char* kClassName = "CStcWnd";
};

class CDispersionWnd : public EngineClass<CDispersionWnd>, public EngineFiles<16, 3> {
public:
    static constexpr const char* kClassName = "CDispersionWnd";
};

// One smoothing run as the Smoothing Setup prepares it; the smoothing itself is not
// part of this edition.
class CSmoothWnd : public EngineClass<CSmoothWnd> {
public:
    static constexpr const char* kClassName = "CSmoothWnd";
    std::array<std::string, 5> m_names;
    CQtxFile m_input;
    CQtxFile m_output;
};
