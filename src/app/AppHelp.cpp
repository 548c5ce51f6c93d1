// The help menu's commands: help contents, the quick-help box, the system
// report and the credits.
#include <exception>

#include "app/OrvelApp.h"
#include "help/HelpPages.h"
#include "help/SystemReport.h"

namespace orvel {

void TOrvelApp::MakeHelpAvailable() {
    for (MenuCmd cmd : {MI_HelpCont, MI_HelpQuick, MI_HelpReport, MI_HelpCredits})
        m_available[cmd] = true;
}

void TOrvelApp::RunHelpCommand(int cmd) {
    switch (cmd) {
        case MI_HelpCont:
            m_platform.OpenHelp(kHelpContentsPage);
            break;
        case MI_HelpQuick:
            m_view->ShowQuickHelp();
            break;
        case MI_HelpReport:
            CreateReport();
            break;
        case MI_HelpCredits:
            m_view->ShowCredits();
            break;
        default:
            break;
    }
}

std::vector<std::string> TOrvelApp::ReportLines() {
    TReportContext context;
    context.ExePath = ExePath;
    context.OtherDir = Paths.DocsDir;
    context.Now = m_platform.Now();
    context.Screen = m_platform.GetScreenMetrics();
    ReadDesktopNames(context);
    return BuildSystemReport(Game, Settings, context);
}

void TOrvelApp::CreateReport() {
    // Building, saving and opening fail on their own: a report that cannot be
    // saved may still be opened from an earlier run.
    std::vector<std::string> lines;
    try {
        lines = ReportLines();
    } catch (const std::exception& e) {
        ShowError(FixedText("The report could not be made", {}, e.what()));
        return;
    }
    ShowResult(SaveSystemReport(Paths.ReportFile, lines));
    if (!m_platform.OpenWithDefault(Paths.ReportFile))
        ShowError(FixedText("Cannot open \"%s\".", {Paths.ReportFile}));
}

}  // namespace orvel
