#pragma once
// TWAIN's state table as a manager and its source keep it for one application, shared by the
// native fake manager and the fake TWAIN_32.DLL: the states a triplet may be sent in, and the
// state it leaves behind. A triplet sent in any other state fails with TWCC_SEQERROR.
#include <cstdint>

#include "TwainTypes.h"

namespace inkra::twain::testing {

struct StateRange {
  int lowest = 0, highest = -1;  // empty: a triplet no fake answers
  constexpr bool Holds(int state) const { return state >= lowest && state <= highest; }
};

constexpr StateRange ValidStates(std::uint32_t dg, std::uint16_t dat, std::uint16_t msg, bool toSource) {
  if (dg == DG_IMAGE) return dat == DAT_IMAGENATIVEXFER && msg == MSG_GET ? StateRange{6, 6} : StateRange{};
  switch (dat) {
    case DAT_PARENT:
      return msg == MSG_OPENDSM ? StateRange{2, 2} : msg == MSG_CLOSEDSM ? StateRange{3, 3} : StateRange{};
    case DAT_IDENTITY:
      switch (msg) {
        case MSG_OPENDS: return {3, 3};
        case MSG_CLOSEDS: return {4, 4};
        case MSG_USERSELECT:
        case MSG_GETDEFAULT: return {3, 7};
        default: return {};
      }
    case DAT_STATUS: return toSource ? StateRange{4, 7} : StateRange{2, 7};
    case DAT_CAPABILITY: return msg == MSG_GET ? StateRange{4, 7} : msg == MSG_SET ? StateRange{4, 4} : StateRange{};
    case DAT_USERINTERFACE:
      return msg == MSG_ENABLEDS ? StateRange{4, 4} : msg == MSG_DISABLEDS ? StateRange{5, 5} : StateRange{};
    case DAT_EVENT: return {5, 7};
    case DAT_PENDINGXFERS:
      return msg == MSG_ENDXFER ? StateRange{6, 7} : msg == MSG_RESET ? StateRange{6, 6} : StateRange{};
    default: return {};
  }
}

// The state after a triplet answered `result`. `notice` is what the answer carried: the pending
// count of DAT_PENDINGXFERS, the TWMessage of DAT_EVENT (MSG_XFERREADY takes the source to 6).
constexpr int StateAfter(int state, std::uint32_t dg, std::uint16_t dat, std::uint16_t msg, std::uint16_t result,
                         std::uint16_t notice) {
  if (dg == DG_IMAGE) return result == TWRC_XFERDONE || result == TWRC_CANCEL ? 7 : state;
  if (dat == DAT_EVENT) return notice == MSG_XFERREADY && state == 5 ? 6 : state;
  if (result != TWRC_SUCCESS && !(dat == DAT_USERINTERFACE && msg == MSG_ENABLEDS && result == TWRC_CHECKSTATUS))
    return state;
  switch (msg) {
    case MSG_OPENDSM: return 3;
    case MSG_CLOSEDSM: return 2;
    case MSG_OPENDS: return 4;
    case MSG_CLOSEDS: return 3;
    case MSG_ENABLEDS: return 5;
    case MSG_DISABLEDS: return 4;
    case MSG_ENDXFER: return dat == DAT_PENDINGXFERS ? (notice != 0 ? 6 : 5) : state;
    case MSG_RESET: return dat == DAT_PENDINGXFERS ? 5 : state;
    default: return state;
  }
}

}  // namespace inkra::twain::testing
