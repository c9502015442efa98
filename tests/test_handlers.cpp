// The special key handlers, driven through the pipeline: the order of video
// notifications and library calls, the mirror/beaway exchange and the
// day/night records.
#include "ControllerRowsFixture.h"

using V = std::vector<std::string>;
using testing::HasSubstr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

class HandlersTest : public ControllerRowsTest {};

TEST_F(HandlersTest, WdrModeIsFramedByTheVideoModule)
{
    iasim::failCommand(2368, 1, -1);
    EXPECT_EQ(0, m_pCtrl->setParameter(2368, 2, true));
    EXPECT_EQ(V({"video 2370=0", "video 2368=2", "ia 2368=2", "video 2370=1"}), timeline());
    EXPECT_EQ(2u, cached(0, 2368));
    m_objVideo.m_nResult = -3;
    EXPECT_EQ(-2368, m_pCtrl->setParameter(2368, 1, true));
    m_objVideo.m_nResult = 0;
    m_pCtrl->setShowWDRFalg(false);
    bool bShow = true;
    EXPECT_TRUE(m_pCtrl->getShowWDRFalg(bShow));
    EXPECT_FALSE(bShow);
    clearLog();
    EXPECT_EQ(0, m_pCtrl->setParameter(2368, 3, true));
    EXPECT_EQ(V{}, timeline());
    EXPECT_EQ(0u, cached(0, 2368));
}

TEST_F(HandlersTest, AntiShakeImageOffsetPanoramaAndTestKeys)
{
    m_objVideo.m_nResult = -1;  // the video module refuses everything
    CaptureStdout();
    EXPECT_EQ(0, m_pCtrl->setParameter(2416, 1, true));
    EXPECT_THAT(GetCapturedStdout(), HasSubstr("fun:doDIS line:"));
    EXPECT_EQ(-2432, m_pCtrl->setParameter(2432, 4, true));
    EXPECT_EQ(0, m_pCtrl->setParameter(9003, 5, true));
    EXPECT_EQ(0, m_pCtrl->setParameter(190, 6, true));
    EXPECT_EQ(0, m_pCtrl->setParameter(2433, 7, true));
    EXPECT_EQ(V({"video 2416=1", "ia 2416=1", "ia 2432=4", "video 2432=4", "video 9003=5",
                 "video 190=6", "ia 2433=7"}),
              timeline());
    iasim::failCommand(2416, 1, -1);
    EXPECT_EQ(-2416, m_pCtrl->setParameter(2416, 0, true));
}

TEST_F(HandlersTest, BeawayExchangesTheMirrorValues)
{
    cache(0, 2385, 1);
    EXPECT_EQ(0, m_pCtrl->setParameter(2384, 1, true));
    EXPECT_EQ(0, m_pCtrl->setParameter(2384, 3, true));
    EXPECT_EQ(V({"video 2384=2", "ia 2384=2", "video 2384=3", "ia 2384=3"}), timeline());
    EXPECT_EQ(3u, cached(0, 2384));

    cache(0, 2384, 2);
    cache(0, 2385, 0);
    clearLog();
    EXPECT_EQ(0, m_pCtrl->setParameter(2385, 1, true));
    EXPECT_EQ(0, m_pCtrl->setParameter(2385, 0, true));
    EXPECT_EQ(V({"video 2384=1", "video 2385=1", "ia 2384=1", "ia 2385=1", "video 2384=2",
                 "video 2385=0", "ia 2384=2", "ia 2385=0"}),
              timeline());

    m_pCtrl->setShowBeawayFalg(false);
    bool bShow = true;
    EXPECT_TRUE(m_pCtrl->getShowBeawayFalg(bShow));
    EXPECT_FALSE(bShow || getshowBeawayFalg());
    clearLog();
    EXPECT_EQ(0, m_pCtrl->setParameter(2385, 1, true));
    EXPECT_EQ(V{}, timeline());
    EXPECT_EQ(0u, cached(0, 2385));
}

TEST_F(HandlersTest, DayNightRecordsTakeSisterKeysFromTheCache)
{
    traceAll();
    cache(0, 149, 18);
    cache(0, 150, 30);
    CaptureStdout();
    EXPECT_EQ(0, m_pCtrl->setParameter(151, 6, true));
    EXPECT_THAT(GetCapturedStdout(),
                HasSubstr("m_nCurScheme(0) dn_time_st.d2n_hour(18) dn_time_st.d2n_min(30) "
                          "dn_time_st.n2d_hour(6) dn_time_st.n2d_min(0) \n"));
    std::vector<uint32_t> vecWords;
    ASSERT_TRUE(iasim::getRecord(0, 151, vecWords));
    EXPECT_EQ(std::vector<uint32_t>({18, 30, 6, 0}), vecWords);

    cache(0, 146, 40);
    cache(0, 154, 3);
    EXPECT_EQ(0, m_pCtrl->setParameter(145, 20, true));
    ASSERT_TRUE(iasim::getRecord(0, 145, vecWords));
    EXPECT_EQ(std::vector<uint32_t>({20, 40, 3}), vecWords);

    // A refused threshold fails the set, except while restoring.
    iasim::failCommand(146, 2, -1);
    EXPECT_EQ(-146, m_pCtrl->setParameter(146, 50, true));
    access().statusFlag() = SNS_STATUS_RESTORING;
    EXPECT_EQ(0, m_pCtrl->setParameter(146, 50, true));
}

TEST_F(HandlersTest, FailedAssertionAbortsWithTheHandlerSignature)
{
    testsupport::writeFlashFile("/tmp/Debug.sign", "0\n1\n");
    iasim::failCommand(2368, -1, -1);
    EXPECT_DEATH(m_pCtrl->setParameter(2368, 1, true),
                 "int ISensorController::doHwdr\\(u32, u32, void\\*\\)");
}
