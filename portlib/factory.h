// Makes the port object for an interface type code and an open mode.
#pragma once

#include "dova_base.h"

#include <cstdint>
#include <memory>

// nullptr when the kind does not offer the mode, or its backend is not part
// of this build (a debug trace line says which).
std::unique_ptr<DovaBase> dovaCreatePort(uint32_t type, int32_t mode);
