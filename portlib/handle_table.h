// The table of open ports: the only owner of the port objects, from
// DovaOpenByName to DovaClose.
//
// Handles are 32-bit and never 0 or 0xFFFFFFFF. Object addresses do not fit
// 32 bits on 64-bit systems, so handles come from a counter that skips those
// two values and any handle still in use; a closed port's handle may come back
// only after the counter has gone all the way round.
#pragma once

#include "dova_base.h"

#include <cstdint>
#include <memory>

// Takes ownership and returns the new handle.
uint32_t dovaHandleAdd(std::unique_ptr<DovaBase> port);
// The port of an open handle, or nullptr.
DovaBase* dovaHandleFind(uint32_t handle);
// Destroys the port (its destructor releases it first); false when not open.
bool dovaHandleRemove(uint32_t handle);
