// Host-side records the library receives from the video module and the host.
#ifndef AV_STREAM_PARAM_H
#define AV_STREAM_PARAM_H

#include "PkBase.h"

class PK_API AVStreamParam {
public:
    AVStreamParam() : m_nEncoderType(0), m_nHeight(0) {}
    int getVideoEncoderType() const { return m_nEncoderType; }
    void setVideoEncoderType(int p_n) { m_nEncoderType = p_n; }
    int getVideoHeight() const { return m_nHeight; }
    void setVideoHeight(int p_n) { m_nHeight = p_n; }

private:
    int m_nEncoderType;
    int m_nHeight;
};

class PK_API LimitedFramesWDRModeParam {
public:
    LimitedFramesWDRModeParam() : m_nModeId(-1), m_nLimitWdr(0) {}
    int getLimitFramesModeId() const { return m_nModeId; }
    void setLimitFramesModeId(int p_n) { m_nModeId = p_n; }
    int getLimitWdr() const { return m_nLimitWdr; }
    void setLimitWdr(int p_n) { m_nLimitWdr = p_n; }

private:
    int m_nModeId;
    int m_nLimitWdr;
};

class PK_API SensorZoomFocusParam {
public:
    SensorZoomFocusParam() : m_bLockZoomFocus(false) {}
    bool getLockZoomFocusEnable() const { return m_bLockZoomFocus; }
    void setLockZoomFocusEnable(bool p_b) { m_bLockZoomFocus = p_b; }

private:
    bool m_bLockZoomFocus;
};

#endif
