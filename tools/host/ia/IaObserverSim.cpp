// The kit over the simulated image-algorithm library: its call log and reset.
#include "IaInterface.h"
#include "IaObserver.h"
#include "IaSim.h"

namespace sensorhost {

namespace {

class SimObserver : public IaObserver {
public:
    bool seesCalls() const override { return true; }
    void forgetCalls() override { iasim::clearCalls(); }
    bool receivedSet(int p_nIaChannel, u32 p_nCmd) const override
    {
        for (const iasim::IaCall& stCall : iasim::calls())
            if (stCall.channel == p_nIaChannel && stCall.cmd == static_cast<int>(p_nCmd) &&
                stCall.opt == IA_CMD_OPT_SET)
                return true;
        return false;
    }
    void restart() override { iasim::reset(); }
};

}  // namespace

IaObserver& iaObserver()
{
    static SimObserver s_objObserver;
    return s_objObserver;
}

}  // namespace sensorhost
