// A controller with hand-made rows, no thread: four user schemes and the
// factory row, each {8000 0}{8001 0}{8002 0}{8003 24}{8004 0} and then the
// given parameters; the real key table; scheme 0 current.
#ifndef SCHEME_ROWS_FIXTURE_H
#define SCHEME_ROWS_FIXTURE_H

#include <memory>
#include <utility>
#include <vector>

#include "IaInterface.h"
#include "IaSim.h"
#include "TestSupport.h"

typedef std::vector<std::pair<int, u32>> Sets;

class SchemeRowsTest : public testsupport::FlashTest {
protected:
    void prepare(const std::vector<KeyVal>& p_vecParams)
    {
        std::vector<KeyVal> vecRow = {{8000, 0}, {8001, 0}, {8002, 0}, {8003, 24}, {8004, 0}};
        vecRow.insert(vecRow.end(), p_vecParams.begin(), p_vecParams.end());
        for (int s = 0; s < 5; ++s) m_vecBlock.insert(m_vecBlock.end(), vecRow.begin(), vecRow.end());
        for (int s = 0; s < 5; ++s) m_vecRows.push_back(&m_vecBlock[s * vecRow.size()]);
        m_vecTmp = m_vecBuf = vecRow;
        m_pCtrl.reset(new ISensorController());
        SensorControllerTestAccess acc = access();
        acc.sysConf().nSchemeSum = 4;
        acc.userKeyVal() = m_vecRows.data();
        acc.fctKeyVal() = m_vecRows[4];
        acc.keyValSum() = static_cast<u32>(vecRow.size());
        acc.keyValTmp() = m_vecTmp.data();
        acc.keyValBuf() = m_vecBuf.data();
        acc.curScheme() = 0;
        acc.buildKeyCmdMap();
        iasim::clearCalls();
    }

    void TearDown() override
    {
        free(access().keyCmdMap());
        access().keyCmdMap() = nullptr;  // the rest belongs to the fixture
        access().userKeyVal() = nullptr;
        m_pCtrl.reset();
        FlashTest::TearDown();
    }

    void setValue(int p_nScheme, u32 p_nKey, u32 p_nValue)
    {
        ctrl().setKeyValToCache(p_nScheme, p_nKey, p_nValue, true);
    }
    void setWindow(int p_nScheme, u32 p_nStartH, u32 p_nStartM, u32 p_nEndH, u32 p_nEndM)
    {
        const u32 nValues[] = {p_nStartH, p_nStartM, p_nEndH, p_nEndM};
        for (u32 i = 0; i < 4; ++i) setValue(p_nScheme, KEY_SCHEME_START_HOUR + i, nValues[i]);
    }
    long long cached(int p_nScheme, u32 p_nKey)
    {
        u32 nValue = 0;
        return ctrl().getKeyValFromCache(p_nScheme, p_nKey, nValue) < 0 ? -1 : nValue;
    }
    static Sets sets()  // SET calls as (command, value), oldest first
    {
        Sets vecOut;
        for (const iasim::IaCall& stCall : iasim::calls())
            if (stCall.opt == IA_CMD_OPT_SET) vecOut.emplace_back(stCall.cmd, stCall.value);
        return vecOut;
    }

    ISensorController& ctrl() { return *m_pCtrl; }
    SensorControllerTestAccess access() { return SensorControllerTestAccess(*m_pCtrl); }

    std::unique_ptr<ISensorController> m_pCtrl;
    std::vector<KeyVal> m_vecBlock, m_vecTmp, m_vecBuf;
    std::vector<KeyVal*> m_vecRows;
};

#endif
