// Reference-counted callables and the safe pointer over the platform registry.
#include <string>

#include "RefCountManager.h"
#include "TestSupport.h"
#include "ThreadFunction.h"

namespace {

int plainFunction()
{
    return 7;
}

struct Counter {
    int m_nValue = 40;
    int next() { return ++m_nValue; }
};

TEST(FunctionObjects, CopiesShareOneCallableUntilTheLastGoes)
{
    RefCountManager& objRegistry = RefCountManager::getInstance();
    const int nBase = objRegistry.activeCount();
    Counter objCounter;
    {
        function<int> objFirst(bind_funcobj(&Counter::next, &objCounter));
        {
            function<int> objCopy(objFirst);
            function<int> objOther(&plainFunction);
            EXPECT_EQ(nBase + 2, objRegistry.activeCount());
            EXPECT_EQ(7, objOther());
            objOther = objCopy;  // the plain function's callable is released here
            EXPECT_EQ(nBase + 1, objRegistry.activeCount());
            EXPECT_EQ(41, objOther());
        }
        EXPECT_EQ(nBase + 1, objRegistry.activeCount());
        EXPECT_EQ(42, objFirst());
    }
    EXPECT_EQ(nBase, objRegistry.activeCount());
    for (int i = 0; i < 3; ++i) {  // a freed address that comes back gets a fresh count
        function<int> objAgain(&plainFunction);
        EXPECT_EQ(nBase + 1, objRegistry.activeCount());
    }
    EXPECT_EQ(nBase, objRegistry.activeCount());
}

TEST(FunctionObjects, NullPointerIsReportedAndThrown)
{
    const std::string strReport =
        "SafePointer Report:17function_obj_baseIiE Construct from NULL original pointer";
    testing::internal::CaptureStdout();
    std::string strWhat;
    try {
        SafePointer<function_obj_base<int>> spNull(nullptr);
    } catch (const PKRuntimeError& e) {
        strWhat = e.what();
    }
    EXPECT_EQ(strReport, strWhat);
    EXPECT_EQ(strReport + "\n", testing::internal::GetCapturedStdout());
    const char* szNull = nullptr;
    EXPECT_STREQ("", PKRuntimeError(szNull).what());
}

}  // namespace
