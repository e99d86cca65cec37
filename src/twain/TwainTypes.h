#pragma once
// The TWAIN records and constants this module exchanges with a source manager, declared here so
// the session logic builds without the platform's headers. The records keep the standard's
// 2-byte packing; pointer-sized fields follow the build's pointer width, as the managers expect.
#include <cstdint>

namespace inkra::twain {

#if defined(_WIN32) && !defined(_WIN64)
#define INKRA_TWAIN_CALL __stdcall
#else
#define INKRA_TWAIN_CALL
#endif

using TwHandle = void*;
using TwMemRef = void*;

#pragma pack(push, 2)
using TwStr32 = char[34];

struct TwVersion {
  std::uint16_t MajorNum;
  std::uint16_t MinorNum;
  std::uint16_t Language;
  std::uint16_t Country;
  TwStr32 Info;
};

struct TwIdentity {
  std::uint32_t Id;
  TwVersion Version;
  std::uint16_t ProtocolMajor;
  std::uint16_t ProtocolMinor;
  std::uint32_t SupportedGroups;
  TwStr32 Manufacturer;
  TwStr32 ProductFamily;
  TwStr32 ProductName;
};

struct TwUserInterface {
  std::uint16_t ShowUI;
  std::uint16_t ModalUI;
  TwHandle hParent;
};

struct TwPendingXfers {
  std::uint16_t Count;
  std::uint32_t Reserved;
};

struct TwEvent {
  TwMemRef pEvent;
  std::uint16_t TWMessage;
};

struct TwCapability {
  std::uint16_t Cap;
  std::uint16_t ConType;
  TwHandle hContainer;
};

struct TwStatus {
  std::uint16_t ConditionCode;
  std::uint16_t Reserved;
};
#pragma pack(pop)

static_assert(sizeof(TwIdentity) == 156);
static_assert(sizeof(TwPendingXfers) == 6);
static_assert(sizeof(TwStatus) == 4);

// DSM_Entry(origin, destination, DG, DAT, MSG, data).
using DsmEntryProc = std::uint16_t(INKRA_TWAIN_CALL*)(TwIdentity* origin, TwIdentity* destination, std::uint32_t dg,
                                                      std::uint16_t dat, std::uint16_t msg, TwMemRef data);

// Data groups.
constexpr std::uint32_t DG_CONTROL = 0x0001, DG_IMAGE = 0x0002;
// Data argument types.
constexpr std::uint16_t DAT_CAPABILITY = 0x0001, DAT_EVENT = 0x0002, DAT_IDENTITY = 0x0003, DAT_PARENT = 0x0004,
                        DAT_PENDINGXFERS = 0x0005, DAT_STATUS = 0x0008, DAT_USERINTERFACE = 0x0009,
                        DAT_IMAGENATIVEXFER = 0x0104;
// Messages.
constexpr std::uint16_t MSG_NULL = 0x0000, MSG_GET = 0x0001, MSG_GETDEFAULT = 0x0003, MSG_SET = 0x0006,
                        MSG_RESET = 0x0007, MSG_XFERREADY = 0x0101, MSG_CLOSEDSREQ = 0x0102, MSG_CLOSEDSOK = 0x0103,
                        MSG_OPENDSM = 0x0301, MSG_CLOSEDSM = 0x0302, MSG_OPENDS = 0x0401, MSG_CLOSEDS = 0x0402,
                        MSG_USERSELECT = 0x0403, MSG_DISABLEDS = 0x0501, MSG_ENABLEDS = 0x0502,
                        MSG_PROCESSEVENT = 0x0601, MSG_ENDXFER = 0x0701;
// Return codes.
constexpr std::uint16_t TWRC_SUCCESS = 0, TWRC_FAILURE = 1, TWRC_CHECKSTATUS = 2, TWRC_CANCEL = 3,
                        TWRC_DSEVENT = 4, TWRC_NOTDSEVENT = 5, TWRC_XFERDONE = 6;
// Condition codes.
constexpr std::uint16_t TWCC_SUCCESS = 0, TWCC_BUMMER = 1, TWCC_SEQERROR = 11;
// Capabilities, containers and item types.
constexpr std::uint16_t ICAP_PIXELTYPE = 0x0101;
constexpr std::uint16_t TWON_ARRAY = 3, TWON_ENUMERATION = 4, TWON_ONEVALUE = 5;
constexpr std::uint16_t TWTY_INT16 = 1, TWTY_UINT16 = 4;
// Pixel types (bit n of a pixel-type mask stands for type n).
constexpr std::uint16_t TWPT_BW = 0, TWPT_GRAY = 1, TWPT_RGB = 2, TWPT_PALETTE = 3;
// Identity values.
constexpr std::uint16_t TWLG_USA = 13, TWCY_USA = 1;
// Pending count of a source that cannot tell how many images follow.
constexpr std::uint16_t kUndeterminedCount = 0xFFFF;

}  // namespace inkra::twain
