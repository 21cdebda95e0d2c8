// The domain ranges a view setup checks: each range moves its own pair of the group's
// values, and the order a setup lists them in decides which refusal is shown.
#include "common/DomainRangeChecks.h"

#include "support/HostFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

enum Control : int {
    kIdcTimeStart = 9201, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop, kIdcSlowMin, kIdcSlowMax, kIdcAzimMin, kIdcAzimMax
};

// The dialog keeps a reference to its template.
const DialogTemplate& RangesTemplate()
{
    static const DialogTemplate t = [] {
        DialogTemplate made{9200, "Ranges", {}};
        for (int id = kIdcTimeStart; id <= kIdcAzimMax; ++id) made.controls.push_back({id, ControlKind::Edit, ""});
        made.controls.push_back({IDOK, ControlKind::Button, "OK"});
        made.controls.push_back({IDCANCEL, ControlKind::Button, "Cancel"});
        return made;
    }();
    return t;
}

class RangesDlg : public CDialog {
public:
    explicit RangesDlg(std::vector<DomainRangeCheck> checks) : CDialog(RangesTemplate()), m_checks(std::move(checks))
    {
        // In order, so the dialog fills without a refusal.
        m_ranges = {0.0f, 10000.0f, 0.0f, 5000.0f, 40.0f, 240.0f, 0.0f, 360.0f};
    }
    DomainRanges m_ranges;
    void DoDataExchange(DataExchange& dx) override { ExchangeDomainRanges(dx, m_ranges, m_checks); }

private:
    std::vector<DomainRangeCheck> m_checks;
};

using DomainRangeChecksTest = HostTest;

TEST_F(DomainRangeChecksTest, EachRangeMovesItsOwnPairAndTheListedOrderRefusesFirst)
{
    using C = Control;
    const std::vector<DomainRangeCheck> timeFirst{TimeCheck<C>(), FrequencyCheck<C>(50000.0), SlownessCheck<C>(30.0, 1250.0),
                                                  AzimuthCheck<C>()};
    host.ScriptDialog(9200)
        .Type(kIdcTimeStart, "10").Type(kIdcTimeStop, "20").Type(kIdcFreqStart, "30").Type(kIdcFreqStop, "40000")
        .Type(kIdcSlowMin, "50").Type(kIdcSlowMax, "60").Type(kIdcAzimMin, "70").Type(kIdcAzimMax, "80")
        .Press(IDOK);
    RangesDlg accepted(timeFirst);
    ASSERT_EQ(accepted.DoModal(), IDOK);
    const DomainRanges& r = accepted.m_ranges;
    EXPECT_EQ(std::vector<float>({r.timeStart, r.timeStop, r.freqStart, r.freqStop, r.slowMin, r.slowMax, r.azimMin, r.azimMax}),
              std::vector<float>({10, 20, 30, 40000, 50, 60, 70, 80}));

    // Time and frequency both out of order: the range listed first is the one refused.
    const std::vector<DomainRangeCheck> frequencyFirst{FrequencyCheck<C>(), TimeCheck<C>(), SlownessCheck<C>(),
                                                       AzimuthCheck<C>()};
    const struct {
        const std::vector<DomainRangeCheck>* checks;
        const char* message;
    } cases[] = {{&timeFirst, "Start time must be less then stop time!"},
                 {&frequencyFirst, "Start frequency must be less then stop frequency!"}};
    for (const auto& c : cases) {
        host.ClearMessages();
        host.ExpectMessage(c.message);
        host.ScriptDialog(9200)
            .Type(kIdcTimeStart, "20").Type(kIdcTimeStop, "10").Type(kIdcFreqStart, "40").Type(kIdcFreqStop, "30")
            .Press(IDOK).Press(IDCANCEL);
        RangesDlg refused(*c.checks);
        EXPECT_EQ(refused.DoModal(), IDCANCEL);
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].text, c.message);
    }
}

// A range is judged by the values its edits mean: ends that show the same six digits
// (1000.001 and 1000.002 both show "1000") are in order while left as shown, or typed as
// the same number ("1000.0"); an end typed as another number ("999.5") is taken as typed.
TEST_F(DomainRangeChecksTest, ARangeLeftAsShownIsJudgedByTheValuesItShowed)
{
    using C = Control;
    const std::vector<DomainRangeCheck> checks{TimeCheck<C>(), FrequencyCheck<C>(), SlownessCheck<C>(), AzimuthCheck<C>()};
    const struct {
        const char* typedStop; // nullptr: left as shown
        const char* message;   // nullptr: accepted
    } cases[] = {{nullptr, nullptr}, {"1000.0", nullptr}, {"999.5", "Start time must be less then stop time!"}};
    for (const auto& c : cases) {
        host.ClearMessages();
        if (c.message) host.ExpectMessage(c.message);
        DialogScript& script = host.ScriptDialog(9200).Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(kIdcTimeStart) + "|" + d.GetItemText(kIdcTimeStop), "1000|1000");
        });
        if (c.typedStop) script.Type(kIdcTimeStop, c.typedStop);
        script.Press(IDOK);
        if (c.message) script.Press(IDCANCEL);
        RangesDlg dlg(checks);
        dlg.m_ranges.timeStart = 1000.001f, dlg.m_ranges.timeStop = 1000.002f;
        EXPECT_EQ(dlg.DoModal(), c.message ? IDCANCEL : IDOK) << c.typedStop;
        EXPECT_EQ(host.Messages().size(), c.message ? 1u : 0u) << c.typedStop;
        if (c.message) continue;
        EXPECT_EQ(dlg.m_ranges.timeStart, 1000.001f);
        EXPECT_EQ(dlg.m_ranges.timeStop, 1000.002f);
    }
}

} // namespace
