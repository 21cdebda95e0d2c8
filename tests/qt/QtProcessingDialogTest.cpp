// A processing setup on Qt widgets (offscreen): its response preview is drawn by the
// dialog into its own control.
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtDialogView.h"
#include "processing/AnisotropySetupDlg.h"
#include "processing/FilterSetupDlg.h"
#include "processing/SmoothingSetupDlg.h"
#include "settings/SettingsStore.h"
#include "settings/ProcessingSetupGroups.h"
#include "support/HostFixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QSlider>
#include <QPushButton>
#include <QWidget>

#include <cstdlib>
#include <tuple>

namespace {

TEST(QtProcessingDialogTest, TheFilterPreviewShowsTheBellInItsControl)
{
    theApp.m_dormant.SetDefaults();
    CFilterSetupDlg dlg;
    dlg.m_setup.frequencyEnabled = 1;
    dlg.m_setup.bellShape = 1;
    dlg.m_sampleInterval = 10.0f;
    dlg.InitDialog(false);
    ASSERT_TRUE(ShowQtDialogModeless(dlg, {}));
    dlg.SetItemText(CFilterSetupDlg::kIdcFrequencyStart, "4000");
    dlg.SetItemText(CFilterSetupDlg::kIdcFrequencyStop, "20000");
    dlg.DrawResponse();
    SyncQtDialog(dlg);
    QApplication::processEvents();
    QWidget* preview = QtDialogWindow(dlg)->findChild<QWidget*>(QString::number(CFilterSetupDlg::kIdcResponse));
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->isVisible());
    const QImage shown = preview->grab().toImage();
    ASSERT_FALSE(shown.isNull());
    // The band 4..20 kHz of 0..50 kHz: grey under the curve at 12 kHz, white above it at the far end.
    const int x = shown.width() * 12 / 50, bottom = shown.height() * 9 / 10;
    EXPECT_EQ(QColor(shown.pixel(x, bottom)).rgb() & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_EQ(QColor(shown.pixel(shown.width() - 4, 2)).rgb() & 0xFFFFFF, 0xFFFFFFu);
    shown.save(QStringLiteral("filter_preview.png"));
    DestroyQtDialog(dlg);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(QtProcessingDialogTest, SmoothingWeightsTurnEditableWithUserAndTheSliderIsShown)
{
    using D = CSmoothingSetupDlg;
    D dlg;
    dlg.InitDialog(false);
    ASSERT_TRUE(ShowQtDialogModeless(dlg, {}));
    QWidget* window = QtDialogWindow(dlg);
    auto* weight = window->findChild<QLineEdit*>(QString::number(D::kIdcWeight4));
    ASSERT_NE(weight, nullptr);
    EXPECT_TRUE(weight->isReadOnly());
    dlg.OnPreset(D::kUser);
    SyncQtDialog(dlg);
    EXPECT_FALSE(weight->isReadOnly()) << "a read-only change reaches the widget";
    EXPECT_EQ(weight->text(), QStringLiteral("1.50"));
    auto* slider = window->findChild<QSlider*>(QString::number(D::kIdcSharpness));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(std::make_tuple(slider->minimum(), slider->value(), slider->maximum()), std::make_tuple(-10, 0, 10));
    if (const char* out = std::getenv("BRONTE_SMOOTHING_PNG")) window->grab().save(out);
    DestroyQtDialog(dlg);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(QtProcessingDialogTest, TheAnisotropySetupRelabelsItsWidgetsForTheFastShearRun)
{
    CAnisotropySetupDlg dlg;
    dlg.InitDialog(false);
    ASSERT_TRUE(ShowQtDialogModeless(dlg, {}));
    dlg.OnOption(CAnisotropySetupDlg::kFastShear);
    SyncQtDialog(dlg);
    QApplication::processEvents();
    QWidget* window = QtDialogWindow(dlg);
    auto* picker = window->findChild<QPushButton*>(QString::number(CAnisotropySetupDlg::kIdcSelectProfile));
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->text().remove('&'), "Select Rotation Azimuth");
    EXPECT_TRUE(picker->isEnabled());
    QWidget* start = window->findChild<QWidget*>(QString::number(CAnisotropySetupDlg::kIdcInputStart));
    ASSERT_NE(start, nullptr);
    EXPECT_FALSE(start->isEnabled());
    window->grab().save(QStringLiteral("anisotropy_setup.png"));
    DestroyQtDialog(dlg);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
