// The LAS tests' common ground: a LAS text written to a file and run through the task as
// the dispatcher would, the items an export takes, and the mnemonics of the data set written.
#pragma once

#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class LasImportFixture : public HostTest {
protected:
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }
    int Run(ToolTask task, const std::string& from)
    {
        std::filesystem::remove(output);
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        return RunToolTask(*e, task, from);
    }
    int Import(const std::string& text, ToolTask task = ToolTask::ConvertLasToQtx)
    {
        WriteBytes(input, std::vector<uint8_t>(text.begin(), text.end()));
        return Run(task, input);
    }
    // The primary data set's items `datums` of its `count` selected, as the task box leaves them.
    void Select(const std::vector<int>& datums, int count)
    {
        ToolInputSelection& p = theApp.m_utilitiesSetup.primary;
        p.itemCount = count;
        p.selected.fill(0);
        for (int k : datums) p.selected[size_t(k)] = 1;
    }
    static std::vector<std::string> Mnemonics(const QtxImage& image)
    {
        std::vector<std::string> names;
        for (const QtxDatumDescriptor& d : image.descriptors) names.emplace_back(d.mnemonic, 4);
        return names;
    }

    TempDir dir;
    std::string input = dir.File("in.las"), output = dir.File("out.qtx");
};
