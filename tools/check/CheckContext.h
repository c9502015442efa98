// What the checker learns about a flash tree, step by step: later checks use
// what the earlier ones established. The tree itself is never written: the
// library works on a temporary copy, which is the flash root while checking.
#ifndef SENSORCTL_CHECK_CONTEXT_H
#define SENSORCTL_CHECK_CONTEXT_H

#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

#include "MachineInfo.h"
#include "ModuleConfigure.h"
#include "SensorTypes.h"

struct CheckOptions {
    std::string m_strFlashDir;
    int m_nChannel = 1;
    bool m_bJson = false;
    bool m_bLive = false;
};

// A parsed XML document, or why it is not one.
struct XmlFile {
    bool m_bPresent = false;
    bool m_bParsed = false;
    std::string m_strError;  // "line 12, column 4: Error reading end tag."
    std::unique_ptr<TiXmlDocument> m_pDoc;
};

struct CheckContext {
    CheckOptions m_stOptions;
    std::string m_strWorkDir;  // the temporary copy; "" when it could not be made

    bool m_bMachine = false;  // machine information parsed
    MachineInfo m_objMachine;
    bool m_bModule = false;  // a module matches the machine
    ModuleConfigure m_objModule;
    int m_nCameraID = 1;  // the channel number the controller takes
    bool m_bThermal = false;

    std::string m_strStyleFile;  // camera paths of the documents init loads
    std::string m_strDiversityFile;
    XmlFile m_stStyle;
    XmlFile m_stDiversity;

    bool m_bSysConf = false;  // the library's system configuration was built
    u32 m_nSchemeCount = 0;
    std::string m_strMergedStyle;
    std::string m_strDynamicStyle;       // the merged style as the sensor rewrites it
    std::vector<KeyVal> m_vecFactory;    // every factory record the style gives
};

// Reads and parses an XML file below the flash root (a camera path).
XmlFile loadXmlFile(const std::string& p_strCameraPath);
// Parses an XML text.
XmlFile parseXmlText(const std::string& p_strText);
// Whole file below the flash root; false when it cannot be read.
bool readCameraFile(const std::string& p_strCameraPath, std::string& p_strOut);
bool cameraFileExists(const std::string& p_strCameraPath);

// "<Slider id="34" name="Brightness">" for messages.
std::string elementText(const TiXmlElement* p_pElement);
// "tab 'Image', <Slider id="34" name="Brightness">": where an item lies in a style.
std::string styleItemWhere(const TiXmlElement* p_pItem);

#endif
