// What a controller keeps between calls so that it does not repeat work
// whose result cannot have changed: the positions of the keys in its scheme
// rows, the merged style as getAllParameters last read it, and the parsed
// style documents of the dynamic style.
#ifndef CONTROLLER_MEMO_H
#define CONTROLLER_MEMO_H

#include <string>

#include "ISensorController/RowIndex.h"
#include "SensorFile/StyleMemo.h"

struct ControllerMemo {
    RowIndex objRows;
    // getAllParameters: the bytes of the merged style file it last parsed
    // and what they gave.
    struct {
        bool bValid = false;
        std::string strBytes;
        bool bLoaded = false;
        int nShutter = 0;
    } stAllParams;
    DnaStyleMemo objDnaStyle;
};

#endif
