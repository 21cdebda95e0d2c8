// The engines of the dormant processing runs, as far as this edition holds them:
// the objects each run is built from (its file names, filters, wait notices and data
// sets). Nothing creates them yet; the setup dialogs collect what a run is given.
// Each has a factory that returns no object when allocation fails.
#pragma once

#include "common/Fft.h"
#include "common/ProgressDlg.h"
#include "dataset/QtxFile.h"

#include <array>
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

// One filtering run as the Filter Setup prepares it.
class CFilterWnd : public EngineClass<CFilterWnd> {
public:
    static constexpr const char* kClassName = "CFilterWnd";
    std::array<std::string, 23> m_names; // paths, titles and extensions of the run's files
    CFrequencyFilter m_frequencyFilter;
    CTimeFilter m_timeFilter;
    CSlownessFilter m_slownessFilter;
    CReadWaitDlg m_readWait;
    CSaveWaitDlg m_saveWait;
    std::array<CQtxFile, 3> m_files;
};

// A frequency filter and a time window over one data set, without a slowness window.
class CMultiFilterWnd : public EngineClass<CMultiFilterWnd> {
public:
    static constexpr const char* kClassName = "CMultiFilterWnd";
    std::array<std::string, 22> m_names;
    CFrequencyFilter m_frequencyFilter;
    CTimeFilter m_timeFilter;
    CReadWaitDlg m_readWait;
    CSaveWaitDlg m_saveWait;
    std::array<CQtxFile, 3> m_files;
};

// The picking runs of the Picking Setup.
class CPickWnd : public EngineClass<CPickWnd> {
public:
    static constexpr const char* kClassName = "CPickWnd";
    std::array<std::string, 24> m_names;
    CFrequencyFilter m_frequencyFilter;
    CTimeFilter m_timeFilter;
    CSlownessFilter m_slownessFilter;
    CReadWaitDlg m_readWait;
    CSaveWaitDlg m_saveWait;
    std::array<CQtxFile, 3> m_files;
};

class CAutoPickWnd : public EngineClass<CAutoPickWnd> {
public:
    static constexpr const char* kClassName = "CAutoPickWnd";
    std::array<std::string, 16> m_names;
    CFrequencyFilter m_frequencyFilter;
    CTimeFilter m_timeFilter;
    std::array<CQtxFile, 2> m_files;
};

class CAnisotropyWnd : public EngineClass<CAnisotropyWnd> {
public:
    static constexpr const char* kClassName = "CAnisotropyWnd";
    std::array<std::string, 11> m_names;
    std::array<CQtxFile, 3> m_files;
};

class CStcWnd : public EngineClass<CStcWnd> {
public:
    static constexpr const char* kClassName = "CStcWnd";
    std::array<std::string, 21> m_names;
    std::array<CQtxFile, 3> m_files;
};

class CDispersionWnd : public EngineClass<CDispersionWnd> {
public:
    static constexpr const char* kClassName = "CDispersionWnd";
    std::array<std::string, 16> m_names;
    std::array<CQtxFile, 3> m_files;
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
