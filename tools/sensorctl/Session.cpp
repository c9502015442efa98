#include "Session.h"

#include <stdio.h>
#include <unistd.h>

#include "ConsoleCapture.h"
#include "KeyArgs.h"
#include "ToolCommon.h"

using sensorhost::ConsoleCapture;

int ToolVideo::notifySensorParam(int channel, int key, int value) const
{
    ++m_nNotes;
    if (!m_bEcho.load()) return 0;
    toolPrint("video: channel %d key %d (%s) value %d\n", channel, key,
              sensorhost::keyName(static_cast<u32>(key)).c_str(), value);
    return 0;
}

Session::Session(const ToolOptions& p_stOptions) : m_stOptions(p_stOptions) {}

void Session::routeConsole()
{
    ConsoleCapture& objConsole = ConsoleCapture::instance();
    const std::string strError = objConsole.setLog(libraryLogPath(m_stOptions, m_objHost.flash().m_strRoot));
    if (!strError.empty() && !m_stOptions.m_bVerbose)
        toolNote("the library's console is not logged: %s (--verbose shows it)", strError.c_str());
}

bool Session::open()
{
    sensorhost::SessionOptions stOptions;
    stOptions.m_strFlashDir = m_stOptions.m_strFlashDir;
    stOptions.m_nChannel = m_stOptions.m_nChannel;
    stOptions.m_bLossAccepted = m_stOptions.m_bAllowReset;
    stOptions.m_pVideo = &m_objVideo;
    echoLibraryOutput(m_stOptions);
    // init applies every value of the scheme; its notifications would bury
    // the command's answer.
    m_objVideo.setEcho(false);
    const std::string strError = m_objHost.open(stOptions);
    m_objVideo.setEcho(true);
    const sensorhost::FlashTree& stTree = m_objHost.flash();
    if (stTree.m_bCreated)
        toolNote("created flash folder %s as a copy of the sample camera (%s)",
                 m_stOptions.m_strFlashDir.c_str(), stTree.m_strSample.c_str());
    if (!stTree.m_strRoot.empty()) routeConsole();
    const sensorhost::PreflightReport& stReport = m_objHost.preflightReport();
    const std::vector<sensorhost::Finding> vecBlocking = stReport.blocking(m_stOptions.m_bAllowReset);
    if (vecBlocking.empty()) {
        for (const sensorhost::Finding& stFinding : stReport.m_vecFindings)
            toolNote("%s; going on as asked", stFinding.m_strText.c_str());
    }
    if (strError.empty()) return true;
    if (vecBlocking.empty()) toolError("%s", strError.c_str());
    bool bLoss = false;
    for (const sensorhost::Finding& stFinding : vecBlocking) {
        toolError("%s", stFinding.m_strText.c_str());
        bLoss = bLoss || stFinding.losesData();
    }
    if (bLoss)
        toolNote("nothing was changed; --allow-reset goes on and accepts the loss (`sensorctl decode FILE` "
                 "shows a parameter file, `sensorctl --allow-reset reset` rewrites them from factory values)");
    return false;
}
