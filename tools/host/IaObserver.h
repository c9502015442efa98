// What a front end can see of the image-algorithm library below the
// controller beyond its answers. The simulator logs every call and can start
// over from its default profile; a camera's own library offers neither, and
// a front end must say so rather than claim what it could not see.
#ifndef SENSORHOST_IA_OBSERVER_H
#define SENSORHOST_IA_OBSERVER_H

#include "SensorTypes.h"

namespace sensorhost {

class IaObserver {
public:
    virtual ~IaObserver() = default;
    // False below a camera's own library: receivedSet() then knows nothing.
    virtual bool seesCalls() const = 0;
    // Forgets the calls seen so far.
    virtual void forgetCalls() = 0;
    // A SET of the command on the (0-based) channel since forgetCalls().
    virtual bool receivedSet(int p_nIaChannel, u32 p_nCmd) const = 0;
    // The library as at power-on (the simulator's default profile); a
    // camera's library cannot be restarted from here and is left as it is.
    virtual void restart() = 0;
};

// The observer of the library this kit is built over.
IaObserver& iaObserver();

}  // namespace sensorhost

#endif
