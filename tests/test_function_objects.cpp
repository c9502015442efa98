// Reference-counted callables and the safe pointer over the platform registry.
#include <string>

#include "RefCountManager.h"
#include "TestSupport.h"
#include "function.h"

namespace {

int g_nCalls = 0;
int countCall() { return ++g_nCalls; }

struct Counter {
    int m_nValue = 40;
    int next() { return ++m_nValue; }
};

TEST(FunctionObjects, CopiesShareOneCallableUntilTheLastGoes)
{
    const int nBase = RefCountManager::getInstance().activeCount();
    {
        function<int> objFirst(&countCall);
        EXPECT_EQ(nBase + 1, RefCountManager::getInstance().activeCount());
        {
            function<int> objCopy(objFirst);
            function<int> objOther(&countCall);
            objOther = objCopy;  // the second callable is released here
            EXPECT_EQ(nBase + 1, RefCountManager::getInstance().activeCount());
            g_nCalls = 0;
            EXPECT_EQ(1, objCopy());
            EXPECT_EQ(2, objOther());
        }
        EXPECT_EQ(nBase + 1, RefCountManager::getInstance().activeCount());
        EXPECT_EQ(3, objFirst());
    }
    EXPECT_EQ(nBase, RefCountManager::getInstance().activeCount());
}

TEST(FunctionObjects, BoundMemberCallsItsObject)
{
    Counter objCounter;
    function<int> objBound(bind_funcobj(&Counter::next, &objCounter));
    function<int> objCopy(objBound);
    EXPECT_EQ(41, objBound());
    EXPECT_EQ(42, objCopy());
    EXPECT_EQ(42, objCounter.m_nValue);
}

TEST(FunctionObjects, NullPointerIsReportedAndThrown)
{
    testing::internal::CaptureStdout();
    std::string strWhat;
    try {
        SafePointer<function_obj_base<int>> spNull(nullptr);
    } catch (const PKRuntimeError& e) {
        strWhat = e.what();
    }
    const std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ("SafePointer Report:17function_obj_baseIiE Construct from NULL original pointer", strWhat);
    EXPECT_EQ(strWhat + "\n", strOut);
}

TEST(FunctionObjects, RuntimeErrorKeepsItsText)
{
    const char* szNull = nullptr;
    EXPECT_STREQ("", PKRuntimeError(szNull).what());
    const char* szText = "boom";
    EXPECT_STREQ("boom", PKRuntimeError(szText).what());
}

}  // namespace
