// The settings store: what `theApp` holds for the whole run. Every setup dialog is
// filled from its group and copies back into it, viewers and engines read the groups,
// and the display-option records of the open viewers live here. Plain data: the
// application's behaviour (start-up, modes, commands) lives in app/, the registry of
// view options in viewers/. Nothing here is persisted. Each group is declared in a header
// of its own (settings/<Name>Group.h, the processing setups in ProcessingSetupGroups.h):
// code that reads a group includes that header, so a change to one group rebuilds only
// its readers.
#pragma once

#include "settings/DisplayOptions.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

class CWnd;
struct ConvertCnvValues;
struct DomainSetupGroup;
struct VdlSetupGroup;
struct LogSetupGroup;
struct SemblanceMapSetupGroup;
struct XPlotSetupGroup;
struct UtilitiesSetupGroup;
struct DormantSetupGroups;

constexpr int kReceivers = kReceiverCount;

// The display options of one open viewer.
class CViewOptions {
public:
    uint16_t m_windowId = 0;
    uint16_t m_kind = 0;
    uint32_t m_available[kReceivers] = {};
    uint32_t m_shown[kReceivers] = {};
    float m_zoomFactor2 = 1.0f;
    float m_zoomFactor3 = 1.0f;
    float m_zoomFactor1 = 1.0f;
    CWnd* m_window = nullptr; // the viewer that owns the record, when it said so
};

enum AppMode : int16_t { kModeNone = -1, kModeQtx = 1, kModeLis = 2, kModeCnv = 3 };

class CSettingsStore {
    struct Groups;
    std::unique_ptr<Groups> m_groups; // first: the references below point into it

public:
    CSettingsStore();
    ~CSettingsStore();
    CSettingsStore(const CSettingsStore&) = delete;
    CSettingsStore& operator=(const CSettingsStore&) = delete;

    // Back to the state before start-up: numbers zero, texts empty, no records. The
    // groups are cleared in place, so references to them stay valid.
    void Clear();
    // The start-up values of the display options and of every setup group.
    void SetStartupDefaults();

    std::string m_helpBaseDir;
    std::string m_helpPath;
    std::string m_message;
    std::string m_startupDir;
    uint32_t m_controlBar = 0;
    DisplayOptionBlock m_display;
    std::vector<std::unique_ptr<CViewOptions>> m_viewOptions; // the records of the open viewers
    ConvertCnvValues& m_convertCnv;
    DomainSetupGroup& m_domainSetup;
    VdlSetupGroup& m_vdlSetup;
    LogSetupGroup& m_logSetup;
    SemblanceMapSetupGroup& m_semblanceMapSetup;
    XPlotSetupGroup& m_xplotSetup;
    UtilitiesSetupGroup& m_utilitiesSetup;
    DormantSetupGroups& m_dormant;

    // A setup group declared in a header of its own (settings/<Name>Group.h), so that adding
    // one rebuilds only the files that use it. Made value-initialised on first use and given
    // its start-up values (its SetDefaults()) once start-up has run; start-up restores them
    // too. Clear() value-initialises it in place, as it does the fixed groups: a reference
    // stays valid for the store's whole life.
    template <typename Group> Group& SetupGroup();

private:
    struct OwnGroup {
        std::shared_ptr<void> group;
        void (*setDefaults)(void*) = nullptr;
        void (*clear)(void*) = nullptr;
    };
    std::map<std::type_index, OwnGroup> m_ownGroups;
    bool m_startupDefaultsSet = false;
};

template <typename Group> Group& CSettingsStore::SetupGroup()
{
    OwnGroup& own = m_ownGroups[std::type_index(typeid(Group))];
    if (!own.group) {
        own.group = std::make_shared<Group>();
        own.setDefaults = [](void* group) { static_cast<Group*>(group)->SetDefaults(); };
        own.clear = [](void* group) { *static_cast<Group*>(group) = Group{}; };
        if (m_startupDefaultsSet) own.setDefaults(own.group.get());
    }
    return *static_cast<Group*>(own.group.get());
}

extern CSettingsStore theApp;
