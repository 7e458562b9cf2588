// The device vendor's G-sensor library, bound when the program loads and imported by ordinal
// only: the library exports no names the program could rely on.
#pragma once

#include <cstdint>

#include "Api.h"
#include "Handle.h"

// What the library's read function fills: five little-endian 32-bit words.
struct TiltReading {
    uint32_t raw0;      // the library's own; copied, never interpreted
    uint32_t raw1;      // the library's own; copied, never interpreted
    uint32_t tilt;      // degrees 0..359; near 90 or 270 the phone stands upright
    int32_t rotation;   // degrees 0..359; 0 is the phone lying face up
    uint32_t raw4;      // the library's own; copied, never interpreted
};
static_assert(sizeof(TiltReading) == 20);

constexpr DWORD SENSOR_KIND_TILT = 1;

extern "C" {
// Ordinal 10: opens the sensor of the given kind; null on failure.
CE_IMPORT HANDLE WINAPI HTCSensorOpen(DWORD kind);
// Ordinal 4: fills a zeroed reading; FALSE on failure.
CE_IMPORT BOOL WINAPI HTCSensorGetData(HANDLE sensor, TiltReading* reading);
// Ordinal 3: the handle is not used afterwards.
CE_IMPORT void WINAPI HTCSensorClose(HANDLE sensor);
}

// An open sensor; its owner closes it.
struct SensorHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { HTCSensorClose(h); }
};
using SensorHandle = UniqueHandle<SensorHandleTraits>;
