#include "settings/SettingsStore.h"

CSettingsStore theApp;

void CSettingsStore::SetStartupDefaults()
{
    m_display.currentMode = kModeNone;
    m_display.windowCounter = 0;
    m_display.activeWindowId = 0;
    m_viewOptions.clear();
    m_display.SetDefaults();

    // The order start-up has always used.
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
