// One camera module's configuration as the host describes it.
#ifndef MODULE_CONFIGURE_H
#define MODULE_CONFIGURE_H

#include <list>
#include <string>

#include "PkBase.h"

class PK_API ModuleConfigure {
public:
    ModuleConfigure();
    void setModuleId(int p_nId) { m_nModuleId = p_nId; }
    int getModuleId() const { return m_nModuleId; }
    void setDetail(const std::string& p_strDetail) { m_strDetail = p_strDetail; }
    const std::string& getDetail() const { return m_strDetail; }
    void setParameters(const std::string& p_strParams) { m_strParameters = p_strParams; }
    const std::string& getParameters() const { return m_strParameters; }

private:
    int m_nModuleId;
    std::string m_strDetail;
    std::string m_strParameters;
};

// Reads the module configuration document (format in the README).
class PK_API ModuleConfigureParser {
public:
    // Appends the modules whose hardware model and code match; false when
    // the document cannot be read.
    static bool parse(const std::string& p_strPath, const std::string& p_strModel,
                      const std::string& p_strCode, std::list<ModuleConfigure>& p_lstOut);
};

#endif
