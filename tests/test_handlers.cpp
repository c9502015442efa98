// The special key handlers, driven through the pipeline: the order of video
// notifications and library calls, the mirror/beaway exchange and the
// day/night records.
#include "ControllerFixtures.h"

using HandlersTest = StillControllerTest;

TEST_F(HandlersTest, VideoKeysInTheirOrders)
{
    iasim::failCommand(2368, 1, -1);  // reported; the video module's answer decides
    EXPECT_EQ(V({"video 2370=0", "video 2368=2", "ia 2368=2", "video 2370=1"}), applied({{KEY_WDR_MODE, 2}}));
    EXPECT_EQ(2, cached(KEY_WDR_MODE));
    m_objVideo.m_nResult = -1;  // from here the video module refuses everything
    V vecDone;
    expectParts(output([&] {
                    vecDone = applied({{KEY_WDR_MODE, 1},
                                       {KEY_ANTI_SHAKE_SWITCH, 1},
                                       {KEY_CAP_OFF_ADJ_DIRECTION, 4},
                                       {KEY_PANO_PREVIEW, 5},
                                       {KEY_TEST_PARAM1, 6},
                                       {KEY_CAP_OFF_ADJ_STEP, 7}});
                }),
                {"fun:doDIS line:"});
    EXPECT_EQ(V({"video 2370=0", "video 2368=1", "ia 2368=1", "video 2370=1", "=> -2368", "video 2416=1", "ia 2416=1",
                 "ia 2432=4", "video 2432=4", "=> -2432", "video 9003=5", "video 190=6", "ia 2433=7"}),
              vecDone);
    iasim::failCommand(2416, 1, -1);
    EXPECT_EQ(-2416, set(KEY_ANTI_SHAKE_SWITCH, 0));
    ctrl().setShowWDRFalg(false);  // hidden: WDR stays off
    EXPECT_EQ(V{}, applied({{KEY_WDR_MODE, 1}}));
    EXPECT_EQ(0, cached(KEY_WDR_MODE));
}

TEST_F(HandlersTest, BeawayExchangesTheMirrorValues)
{
    cache(KEY_BEAWAY, 1);
    EXPECT_EQ(V({"video 2384=2", "ia 2384=2", "video 2384=3", "ia 2384=3"}),
              applied({{KEY_MIRROR, 1}, {KEY_MIRROR, 3}}));
    EXPECT_EQ(3, cached(KEY_MIRROR));
    cache(KEY_MIRROR, 2);
    cache(KEY_BEAWAY, 0);
    EXPECT_EQ(V({"video 2384=1", "video 2385=1", "ia 2384=1", "ia 2385=1", "video 2384=2", "video 2385=0",
                 "ia 2384=2", "ia 2385=0"}),
              applied({{KEY_BEAWAY, 1}, {KEY_BEAWAY, 0}}));
    ctrl().setShowBeawayFalg(false);  // hidden: beaway stays off
    EXPECT_EQ(V{}, applied({{KEY_BEAWAY, 1}}));
    EXPECT_EQ(0, cached(KEY_BEAWAY));
}

TEST_F(HandlersTest, DayNightRecordsTakeSisterKeysFromTheCache)
{
    testsupport::writeFlashFile(SNS_PATH_DEBUG_SIGN, "6\n");
    cache(KEY_DTN_H, 18);
    cache(KEY_DTN_M, 30);
    expectParts(output([&] { EXPECT_EQ(0, set(KEY_NTD_H, 6)); }),
                {"m_nCurScheme(0) dn_time_st.d2n_hour(18) dn_time_st.d2n_min(30) dn_time_st.n2d_hour(6) "
                 "dn_time_st.n2d_min(0) \n"});
    cache(KEY_NTD_THR, 40);
    cache(KEY_DN_SENSITIVITY, 3);
    EXPECT_EQ(0, set(KEY_NTD_M, 45));  // the last field
    EXPECT_EQ(0, set(KEY_DTN_THR, 20));
    std::vector<uint32_t> vecTime, vecLast, vecThr;
    ASSERT_TRUE(iasim::getRecord(0, 151, vecTime) && iasim::getRecord(0, 152, vecLast) &&
                iasim::getRecord(0, 145, vecThr));
    EXPECT_EQ(std::vector<uint32_t>({18, 30, 6, 0}), vecTime);
    EXPECT_EQ(std::vector<uint32_t>({18, 30, 6, 45}), vecLast);
    EXPECT_EQ(std::vector<uint32_t>({20, 40, 3}), vecThr);
    // A refused threshold fails the set, except while restoring.
    iasim::failCommand(146, 2, -1);
    EXPECT_EQ(-146, set(KEY_NTD_THR, 50));
    access().statusFlag() = SNS_STATUS_INITIALISED | SNS_STATUS_RESTORING;
    EXPECT_EQ(0, set(KEY_NTD_THR, 50));
}

TEST_F(HandlersTest, FailedAssertionAbortsWithTheHandlerSignature)
{
    testsupport::writeFlashFile(SNS_PATH_DEBUG_SIGN, "0\n1\n");
    iasim::failCommand(2368, -1, -1);
    EXPECT_DEATH(set(KEY_WDR_MODE, 1), "int ISensorController::doHwdr\\(u32, u32, void\\*\\)");
}
