// The sample camera the benchmarks run on: a private copy of the sample
// flash below the build folder and one controller of channel 1 on it.
#ifndef BENCH_CAMERA_H
#define BENCH_CAMERA_H

#include "ISensorController.h"

namespace bench {

// Number of keys that differ between schemes 0 and 1 of the bench camera.
const int kSwitchKeyCount = 10;

// Copies the sample flash to a fresh flash root and brings the controller up.
// Returns false (with a message on stderr) when the camera is not as the
// benchmarks expect.
bool openCamera();
void closeCamera();
ISensorController& camera();
// The sample camera's module configuration, as init receives it.
const ModuleConfigure& cameraModule();

// Sleep scale of the platform while the controller's thread runs in the
// background: its passes wait their real second, so they do not compete
// with the measured calls.
void realTimeThread();
// The thread's second lasts 10 us: init's own pass returns almost at once,
// and the running thread still yields the processor between its passes.
void briefSleep();

}  // namespace bench

#endif
