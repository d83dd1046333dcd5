// What the user feels of the platform layer: a repaint while the chart is
// dragged (block copies out of the prepared images), drawing a label, and
// opening a dialog until it can be used.
#include "dialogs/DlgAbout.h"
#include "platform/Font.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/DC.h"
#include "res/AppResources.h"
#include "res/Resource.h"

#include <benchmark/benchmark.h>

#include <cwchar>

namespace {

void BM_PaintDragFrame(benchmark::State& state)
{
    // Portrait: a 900-pixel daily chart shown 176 wide between two 32-pixel panels.
    CBitmap chart, strip, panel, screen;
    chart.CreateBitmap(900, 212);
    strip.CreateBitmap(900, 26);
    panel.CreateBitmap(32, 212);
    screen.CreateBitmap(240, 238);
    CDC dcChart, dcStrip, dcPanel, dcScreen;
    dcChart.SelectObject(&chart);
    dcStrip.SelectObject(&strip);
    dcPanel.SelectObject(&panel);
    dcScreen.SelectObject(&screen);
    int scroll = 0;
    for (auto _ : state) {
        scroll = (scroll + 7) % 700;
        dcScreen.BitBlt(0, 0, 32, 212, &dcPanel, 0, 0, SRCCOPY);
        dcScreen.BitBlt(32, 0, 176, 212, &dcChart, scroll, 0, SRCCOPY);
        dcScreen.BitBlt(32, 212, 176, 26, &dcStrip, scroll, 0, SRCCOPY);
        dcScreen.BitBlt(208, 0, 32, 212, &dcPanel, 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(screen.GetPixel(100, 100));
    }
}
BENCHMARK(BM_PaintDragFrame);

void BM_DrawLabel(benchmark::State& state)
{
    LOGFONT lf = {};
    lf.lfHeight = -10;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcscpy(lf.lfFaceName, L"Serif");
    HFONT hFont = CreateFontIndirect(&lf);
    CBitmap bmp;
    bmp.CreateBitmap(900, 212);
    CDC dc;
    dc.SelectObject(&bmp);
    dc.SelectObject(hFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 0, 0));
    for (auto _ : state) {
        SIZE size = dc.GetTextExtent(L"-12\u00b0");
        RECT rc = {100, 50, 100 + size.cx, 50 + size.cy};
        dc.DrawText(L"-12\u00b0", &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    dc.SelectObject(static_cast<HFONT>(nullptr));
    DeleteObject(hFont);
}
BENCHMARK(BM_DrawLabel);

void BM_OpenAboutDialog(benchmark::State& state)
{
    CAppResources::Install();
    CTestDriver::Install();
    for (auto _ : state) {
        CDlgAbout dlg;
        CTestDriver::OnDialogOpen(IDD_ABOUT, [](CDialog* pDlg) { pDlg->EndDialog(IDOK); });
        benchmark::DoNotOptimize(dlg.DoModal());
    }
    CTestDriver::Uninstall();
}
BENCHMARK(BM_OpenAboutDialog)->Unit(benchmark::kMicrosecond);

}
