// Process > Dictionary: imports a tool dictionary text into the start-up directory.
#include "app/ViewerApp.h"
#include "lis/LisDictionary.h"

void CViewerApp::OnDictionary()
{
    // The importer asks for its file and reports its own result.
    CLisDictionary dictionary;
    dictionary.Import(m_startupDir);
}
