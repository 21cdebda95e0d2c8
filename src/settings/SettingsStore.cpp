#include "settings/SettingsStore.h"

#include "settings/ConvertCnvValues.h"
#include "settings/DomainSetupGroup.h"
#include "settings/LogSetupGroup.h"
#include "settings/ProcessingSetupGroups.h"
#include "settings/SemblanceMapSetupGroup.h"
#include "settings/UtilitiesSetupGroup.h"
#include "settings/VdlSetupGroup.h"
#include "settings/XPlotSetupGroup.h"

CSettingsStore theApp;

struct CSettingsStore::Groups {
    ConvertCnvValues convertCnv;
    DomainSetupGroup domainSetup;
    VdlSetupGroup vdlSetup;
    LogSetupGroup logSetup;
    SemblanceMapSetupGroup semblanceMapSetup;
    XPlotSetupGroup xplotSetup;
    UtilitiesSetupGroup utilitiesSetup;
    DormantSetupGroups dormant;
};

CSettingsStore::CSettingsStore()
    : m_groups(std::make_unique<Groups>()),
      m_convertCnv(m_groups->convertCnv),
      m_domainSetup(m_groups->domainSetup),
      m_vdlSetup(m_groups->vdlSetup),
      m_logSetup(m_groups->logSetup),
      m_semblanceMapSetup(m_groups->semblanceMapSetup),
      m_xplotSetup(m_groups->xplotSetup),
      m_utilitiesSetup(m_groups->utilitiesSetup),
      m_dormant(m_groups->dormant)
{
}

CSettingsStore::~CSettingsStore() = default;

void CSettingsStore::Clear()
{
    m_helpBaseDir.clear();
    m_helpPath.clear();
    m_message.clear();
    m_startupDir.clear();
    m_controlBar = 0;
    m_display = DisplayOptionBlock{};
    m_viewOptions.clear();
    *m_groups = Groups{};
    for (auto& [type, own] : m_ownGroups) own.clear(own.group.get());
    m_startupDefaultsSet = false;
}

void CSettingsStore::SetStartupDefaults()
{
    m_display.currentMode = kModeNone;
    m_display.windowCounter = 0;
    m_display.activeWindowId = 0;
    m_viewOptions.clear();
    m_display.SetDefaults();

    // The order start-up has always used: display options, Domain, VDL, the dormant groups
    // and Log Setup, Semblance Map, X-Plot (its datum flags all clear), Utilities. Convert
    // CNV values are not written by start-up.
    m_domainSetup.SetDefaults();
    m_vdlSetup.SetDefaults();
    m_dormant.SetDefaults();
    m_logSetup.SetDefaults();
    m_semblanceMapSetup.SetDefaults();
    m_xplotSetup.SetDefaults();
    m_utilitiesSetup.SetDefaults();
    for (auto& [type, own] : m_ownGroups) own.setDefaults(own.group.get());
    m_startupDefaultsSet = true;
}
