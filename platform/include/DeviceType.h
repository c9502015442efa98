#ifndef DEVICE_TYPE_H
#define DEVICE_TYPE_H

#include "PkBase.h"

class PK_API DeviceType {
public:
    enum Kind {
        IPCAMERA = 1,
        FACE_DETECT = 4,
        VEHICLE_DETECT = 8,
        AIMULTI_OBJECT_DETECT = 9,
        IPDOME = 11,
        LPR = 13,
        IPP = 14,
        HUMAN_TEMPERATURE = 15,
        THERMAL_DEVICE = 16,
        THERMAL_DOUBLE_SENSOR_DEVICE = 17,
        FISHEYE = 18,
        DOMECORE = 19,
        THERMAL_DOUBLE_SENSOR_DOME_DEVICE = 20,
        BINOCULAR_DEVICE = 22,
        THERMAL_IPDOME = 23,
        DOMECORE_THERMAL_DEVICE = 104,
    };

    DeviceType() : m_nId(IPCAMERA) {}
    void setDeviceTypeId(int p_nId) { m_nId = p_nId; }
    int getDeviceTypeId() const { return m_nId; }

private:
    int m_nId;
};

#endif
