#pragma once

#include "model/FixedText.h"

// The project header (工程). Field order is the settings dialog's, not the file's.
struct ProjectInfo {
    FixedText<50> projectName;  // 工程名称
    FixedText<50> testUnit;     // 检测单位
    FixedText<30> instrument;   // 仪器型号
    FixedText<50> testBasis;    // 检测依据

    friend bool operator==(const ProjectInfo&, const ProjectInfo&) = default;
};
