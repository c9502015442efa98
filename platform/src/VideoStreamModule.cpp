#include "VideoStreamModule.h"

// Defined here so the class's type information lives in the base library.
VideoStreamModule::~VideoStreamModule() {}
