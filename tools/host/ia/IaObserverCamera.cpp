// The kit over a camera's own image-algorithm library: it answers the
// controller's calls and keeps no log of them.
#include "IaObserver.h"

namespace sensorhost {

namespace {

class CameraObserver : public IaObserver {
public:
    bool seesCalls() const override { return false; }
    void forgetCalls() override {}
    bool receivedSet(int, u32) const override { return false; }
    void restart() override {}
};

}  // namespace

IaObserver& iaObserver()
{
    static CameraObserver s_objObserver;
    return s_objObserver;
}

}  // namespace sensorhost
