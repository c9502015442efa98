// A controller prepared by hand for the host-interface tests: four user
// schemes plus the factory row (each the scheme keys 8000..8004 with the
// window 00:00-24:00, then the given parameters), the key/command table and
// scheme 0 current. The fixture owns the rows and detaches them at the end.
#ifndef HAND_BUILT_CONTROLLER_H
#define HAND_BUILT_CONTROLLER_H

#include <stdlib.h>

#include <memory>
#include <vector>

#include "IaInterface.h"
#include "IaSim.h"
#include "TestSupport.h"

class HandBuiltControllerTest : public testsupport::FlashTest {
protected:
    void SetUp() override
    {
        FlashTest::SetUp();
        // Built after the flash root is set: construction reads the machine information.
        m_pCtrl.reset(new ISensorController());
        m_pAccess.reset(new SensorControllerTestAccess(*m_pCtrl));
    }

    void TearDown() override
    {
        free(access().keyCmdMap());
        access().keyCmdMap() = nullptr;
        access().userKeyVal() = nullptr;
        access().keyValTmp() = nullptr;
        access().sysConf() = SysConfig();
        m_pCtrl.reset();
        FlashTest::TearDown();
    }

    void prepare(const std::vector<KeyVal>& p_vecParams)
    {
        std::vector<KeyVal> vecRow = {{8000, 0}, {8001, 0}, {8002, 0}, {8003, 24}, {8004, 0}};
        vecRow.insert(vecRow.end(), p_vecParams.begin(), p_vecParams.end());
        m_vecBlock.clear();
        for (int i = 0; i < 5; ++i) m_vecBlock.insert(m_vecBlock.end(), vecRow.begin(), vecRow.end());
        m_vecRows.clear();
        for (int i = 0; i < 5; ++i) m_vecRows.push_back(&m_vecBlock[i * vecRow.size()]);
        m_vecTmp.assign(vecRow.size(), KeyVal{0, 0});
        access().sysConf().nSchemeSum = 4;
        access().userKeyVal() = m_vecRows.data();
        access().keyValSum() = static_cast<u32>(vecRow.size());
        access().keyValTmp() = m_vecTmp.data();
        access().curScheme() = 0;
        free(access().keyCmdMap());
        access().buildKeyCmdMap();
    }

    KeyVal* entry(int p_nScheme, u32 p_nKey)
    {
        for (u32 i = 0; i < access().keyValSum(); ++i)
            if (m_vecRows[p_nScheme][i].key == p_nKey) return &m_vecRows[p_nScheme][i];
        return nullptr;
    }
    long long cached(u32 p_nKey) { return entry(0, p_nKey) ? entry(0, p_nKey)->value : -1; }

    // SET calls as (command, value), oldest first.
    static std::vector<std::pair<int, uint32_t>> sets()
    {
        std::vector<std::pair<int, uint32_t>> vecOut;
        for (const iasim::IaCall& stCall : iasim::calls())
            if (stCall.opt == IA_CMD_OPT_SET) vecOut.push_back({stCall.cmd, stCall.value});
        return vecOut;
    }

    ISensorController& ctrl() { return *m_pCtrl; }
    SensorControllerTestAccess& access() { return *m_pAccess; }

    std::unique_ptr<ISensorController> m_pCtrl;
    std::unique_ptr<SensorControllerTestAccess> m_pAccess;
    std::vector<KeyVal> m_vecBlock, m_vecTmp;
    std::vector<KeyVal*> m_vecRows;
};

typedef std::vector<std::pair<int, uint32_t>> SetList;

#endif
