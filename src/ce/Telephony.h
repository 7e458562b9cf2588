// TAPI 2.0 as CE's coredll exports it (Unicode only). Declared here rather than taken from the
// desktop's tapi.h, whose A/W macros rename these functions and whose tapi32 is not CE's.
#pragma once

#include "Api.h"
#include "Handle.h"

using HLINEAPP = DWORD;
using HLINE = DWORD;
using HCALL = DWORD;

constexpr DWORD kTapiVersion20 = 0x00020000;
constexpr DWORD LINEMAPPER = 0xFFFFFFFF;

constexpr DWORD LINEINITIALIZEEXOPTION_USEHIDDENWINDOW = 1;
constexpr DWORD LINEINITIALIZEEXOPTION_USEEVENT = 2;
constexpr DWORD LINEINITIALIZEEXOPTION_USECOMPLETIONPORT = 3;

// LINEMESSAGE::dwMessageID
constexpr DWORD LINE_CALLINFO = 1;
constexpr DWORD LINE_CALLSTATE = 2;
constexpr DWORD LINE_CLOSE = 3;

constexpr DWORD LINECALLPRIVILEGE_NONE = 1;
constexpr DWORD LINECALLPRIVILEGE_MONITOR = 2;
constexpr DWORD LINECALLPRIVILEGE_OWNER = 4;

constexpr DWORD LINEBEARERMODE_VOICE = 1;
constexpr DWORD LINEBEARERMODE_SPEECH = 2;
constexpr DWORD LINEBEARERMODE_MULTIUSE = 4;
constexpr DWORD LINEBEARERMODE_DATA = 8;

constexpr DWORD LINEMEDIAMODE_UNKNOWN = 2;
constexpr DWORD LINEMEDIAMODE_INTERACTIVEVOICE = 4;
constexpr DWORD LINEMEDIAMODE_AUTOMATEDVOICE = 8;
constexpr DWORD LINEMEDIAMODE_DATAMODEM = 0x10;

constexpr DWORD LINECALLSTATE_IDLE = 0x1;
constexpr DWORD LINECALLSTATE_OFFERING = 0x2;
constexpr DWORD LINECALLSTATE_ACCEPTED = 0x4;
constexpr DWORD LINECALLSTATE_DIALTONE = 0x8;
constexpr DWORD LINECALLSTATE_DIALING = 0x10;
constexpr DWORD LINECALLSTATE_RINGBACK = 0x20;
constexpr DWORD LINECALLSTATE_BUSY = 0x40;
constexpr DWORD LINECALLSTATE_CONNECTED = 0x100;
constexpr DWORD LINECALLSTATE_PROCEEDING = 0x200;
constexpr DWORD LINECALLSTATE_ONHOLD = 0x400;
constexpr DWORD LINECALLSTATE_DISCONNECTED = 0x4000;
constexpr DWORD LINECALLSTATE_UNKNOWN = 0x8000;

constexpr DWORD LINEOFFERINGMODE_ACTIVE = 1;
constexpr DWORD LINEOFFERINGMODE_INACTIVE = 2;
constexpr DWORD LINECONNECTEDMODE_ACTIVE = 1;
constexpr DWORD LINECONNECTEDMODE_INACTIVE = 2;
constexpr DWORD LINECONNECTEDMODE_ACTIVEHELD = 4;
constexpr DWORD LINEDISCONNECTMODE_NORMAL = 1;

constexpr DWORD LINECALLORIGIN_OUTBOUND = 0x1;
constexpr DWORD LINECALLORIGIN_INBOUND = 0x80;
constexpr DWORD STRINGFORMAT_UNICODE = 3;

// Results: 0 is success, errors are negative.
constexpr LONG LINEERR_BADDEVICEID = static_cast<LONG>(0x80000002);
constexpr LONG LINEERR_INCOMPATIBLEAPIVERSION = static_cast<LONG>(0x8000000C);
constexpr LONG LINEERR_INVALAPPHANDLE = static_cast<LONG>(0x80000014);
constexpr LONG LINEERR_INVALCALLHANDLE = static_cast<LONG>(0x80000018);
constexpr LONG LINEERR_INVALLINEHANDLE = static_cast<LONG>(0x8000002B);
constexpr LONG LINEERR_INVALPARAM = static_cast<LONG>(0x80000032);
constexpr LONG LINEERR_INVALPOINTER = static_cast<LONG>(0x80000035);
constexpr LONG LINEERR_INVALPRIVSELECT = static_cast<LONG>(0x80000036);
constexpr LONG LINEERR_LINEMAPPERFAILED = static_cast<LONG>(0x80000040);
constexpr LONG LINEERR_NODRIVER = static_cast<LONG>(0x80000043);
constexpr LONG LINEERR_NOMEM = static_cast<LONG>(0x80000044);
constexpr LONG LINEERR_OPERATIONFAILED = static_cast<LONG>(0x80000048);
constexpr LONG LINEERR_RESOURCEUNAVAIL = static_cast<LONG>(0x8000004B);
constexpr LONG LINEERR_STRUCTURETOOSMALL = static_cast<LONG>(0x8000004D);

struct LINEDIALPARAMS {
    DWORD dwDialPause;
    DWORD dwDialSpeed;
    DWORD dwDigitDuration;
    DWORD dwWaitForDialtone;
};

struct LINEEXTENSIONID {
    DWORD dwExtensionID0;
    DWORD dwExtensionID1;
    DWORD dwExtensionID2;
    DWORD dwExtensionID3;
};

// Holds a handle: the host's layout on both sides of the emulated DLL.
struct LINEINITIALIZEEXPARAMS {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwOptions;
    union {
        HANDLE hEvent;
        HANDLE hCompletionPort;
    } Handles;
    DWORD dwCompletionKey;
};

struct LINEMESSAGE {
    DWORD hDevice;
    DWORD dwMessageID;
    DWORD_PTR dwCallbackInstance;
    DWORD_PTR dwParam1;
    DWORD_PTR dwParam2;
    DWORD_PTR dwParam3;
};

#ifndef _WIN64
static_assert(sizeof(LINEINITIALIZEEXPARAMS) == 24);
static_assert(sizeof(LINEMESSAGE) == 24);
#endif

// The fixed part of TAPI 2.0; variable data (strings) follows it inside dwTotalSize.
struct LINEDEVCAPS {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwProviderInfoSize;
    DWORD dwProviderInfoOffset;
    DWORD dwSwitchInfoSize;
    DWORD dwSwitchInfoOffset;
    DWORD dwPermanentLineID;
    DWORD dwLineNameSize;
    DWORD dwLineNameOffset;
    DWORD dwStringFormat;
    DWORD dwAddressModes;
    DWORD dwNumAddresses;
    DWORD dwBearerModes;
    DWORD dwMaxRate;
    DWORD dwMediaModes;
    DWORD dwGenerateToneModes;
    DWORD dwGenerateToneMaxNumFreq;
    DWORD dwGenerateDigitModes;
    DWORD dwMonitorToneMaxNumFreq;
    DWORD dwMonitorToneMaxNumEntries;
    DWORD dwMonitorDigitModes;
    DWORD dwGatherDigitsMinTimeout;
    DWORD dwGatherDigitsMaxTimeout;
    DWORD dwMedCtlDigitMaxListSize;
    DWORD dwMedCtlMediaMaxListSize;
    DWORD dwMedCtlToneMaxListSize;
    DWORD dwMedCtlCallStateMaxListSize;
    DWORD dwDevCapFlags;
    DWORD dwMaxNumActiveCalls;
    DWORD dwAnswerMode;
    DWORD dwRingModes;
    DWORD dwLineStates;
    DWORD dwUUIAcceptSize;
    DWORD dwUUIAnswerSize;
    DWORD dwUUIMakeCallSize;
    DWORD dwUUIDropSize;
    DWORD dwUUISendUserUserInfoSize;
    DWORD dwUUICallInfoSize;
    LINEDIALPARAMS MinDialParams;
    LINEDIALPARAMS MaxDialParams;
    LINEDIALPARAMS DefaultDialParams;
    DWORD dwNumTerminals;
    DWORD dwTerminalCapsSize;
    DWORD dwTerminalCapsOffset;
    DWORD dwTerminalTextEntrySize;
    DWORD dwTerminalTextSize;
    DWORD dwTerminalTextOffset;
    DWORD dwDevSpecificSize;
    DWORD dwDevSpecificOffset;
    DWORD dwLineFeatures;
    DWORD dwSettableDevStatus;
    DWORD dwDeviceClassesSize;
    DWORD dwDeviceClassesOffset;
};
static_assert(sizeof(LINEDEVCAPS) == 252);

// The fixed part of TAPI 2.0, like LINEDEVCAPS.
struct LINECALLINFO {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    HLINE hLine;
    DWORD dwLineDeviceID;
    DWORD dwAddressID;
    DWORD dwBearerMode;
    DWORD dwRate;
    DWORD dwMediaMode;
    DWORD dwAppSpecific;
    DWORD dwCallID;
    DWORD dwRelatedCallID;
    DWORD dwCallParamFlags;
    DWORD dwCallStates;
    DWORD dwMonitorDigitModes;
    DWORD dwMonitorMediaModes;
    LINEDIALPARAMS DialParams;
    DWORD dwOrigin;
    DWORD dwReason;
    DWORD dwCompletionID;
    DWORD dwNumOwners;
    DWORD dwNumMonitors;
    DWORD dwCountryCode;
    DWORD dwTrunk;
    DWORD dwCallerIDFlags;
    DWORD dwCallerIDSize;
    DWORD dwCallerIDOffset;
    DWORD dwCallerIDNameSize;
    DWORD dwCallerIDNameOffset;
    DWORD dwCalledIDFlags;
    DWORD dwCalledIDSize;
    DWORD dwCalledIDOffset;
    DWORD dwCalledIDNameSize;
    DWORD dwCalledIDNameOffset;
    DWORD dwConnectedIDFlags;
    DWORD dwConnectedIDSize;
    DWORD dwConnectedIDOffset;
    DWORD dwConnectedIDNameSize;
    DWORD dwConnectedIDNameOffset;
    DWORD dwRedirectionIDFlags;
    DWORD dwRedirectionIDSize;
    DWORD dwRedirectionIDOffset;
    DWORD dwRedirectionIDNameSize;
    DWORD dwRedirectionIDNameOffset;
    DWORD dwRedirectingIDFlags;
    DWORD dwRedirectingIDSize;
    DWORD dwRedirectingIDOffset;
    DWORD dwRedirectingIDNameSize;
    DWORD dwRedirectingIDNameOffset;
    DWORD dwAppNameSize;
    DWORD dwAppNameOffset;
    DWORD dwDisplayableAddressSize;
    DWORD dwDisplayableAddressOffset;
    DWORD dwCalledPartySize;
    DWORD dwCalledPartyOffset;
    DWORD dwCommentSize;
    DWORD dwCommentOffset;
    DWORD dwDisplaySize;
    DWORD dwDisplayOffset;
    DWORD dwUserUserInfoSize;
    DWORD dwUserUserInfoOffset;
    DWORD dwHighLevelCompSize;
    DWORD dwHighLevelCompOffset;
    DWORD dwLowLevelCompSize;
    DWORD dwLowLevelCompOffset;
    DWORD dwChargingInfoSize;
    DWORD dwChargingInfoOffset;
    DWORD dwTerminalModesSize;
    DWORD dwTerminalModesOffset;
    DWORD dwDevSpecificSize;
    DWORD dwDevSpecificOffset;
    DWORD dwCallTreatment;
    DWORD dwCallDataSize;
    DWORD dwCallDataOffset;
    DWORD dwSendingFlowspecSize;
    DWORD dwSendingFlowspecOffset;
    DWORD dwReceivingFlowspecSize;
    DWORD dwReceivingFlowspecOffset;
};
static_assert(sizeof(LINECALLINFO) == 324);

struct LINECALLPARAMS;  // never passed by the program: declared only

using LINECALLBACK = void(CALLBACK*)(DWORD device, DWORD message, DWORD_PTR instance,
                                     DWORD_PTR param1, DWORD_PTR param2, DWORD_PTR param3);

extern "C" {
CE_IMPORT LONG WINAPI lineInitializeEx(HLINEAPP* lineApp, HINSTANCE instance, LINECALLBACK callback,
                                       LPCWSTR appName, DWORD* numDevices, DWORD* apiVersion,
                                       LINEINITIALIZEEXPARAMS* params);
CE_IMPORT LONG WINAPI lineNegotiateAPIVersion(HLINEAPP lineApp, DWORD device, DWORD apiLow,
                                              DWORD apiHigh, DWORD* apiVersion,
                                              LINEEXTENSIONID* extensionId);
CE_IMPORT LONG WINAPI lineGetDevCaps(HLINEAPP lineApp, DWORD device, DWORD apiVersion,
                                     DWORD extVersion, LINEDEVCAPS* caps);
CE_IMPORT LONG WINAPI lineOpen(HLINEAPP lineApp, DWORD device, HLINE* line, DWORD apiVersion,
                               DWORD extVersion, DWORD_PTR callbackInstance, DWORD privileges,
                               DWORD mediaModes, LINECALLPARAMS* callParams);
CE_IMPORT LONG WINAPI lineGetMessage(HLINEAPP lineApp, LINEMESSAGE* message, DWORD timeoutMs);
CE_IMPORT LONG WINAPI lineGetCallInfo(HCALL call, LINECALLINFO* info);
CE_IMPORT LONG WINAPI lineClose(HLINE line);
CE_IMPORT LONG WINAPI lineShutdown(HLINEAPP lineApp);
}

struct LineAppTraits {
    using Type = HLINEAPP;
    static Type Invalid() { return 0; }
    static void Close(Type h) { lineShutdown(h); }
};
using LineApp = UniqueHandle<LineAppTraits>;

struct LineTraits {
    using Type = HLINE;
    static Type Invalid() { return 0; }
    static void Close(Type h) { lineClose(h); }
};
using Line = UniqueHandle<LineTraits>;
