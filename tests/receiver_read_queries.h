#pragma once

// What the receiver gets from a receiver Read: its 18 queries, in order. Written out here, not
// taken from the product's tables, so that the tests check those tables.

#include <string>
#include <vector>

namespace qx::testing_support {

inline const std::vector<std::string> kReadQueries = {
    "WP_IdentifyTx[?]$\r", "WP_Aspect[?]$\r",    "WP_Info[?]$\r",      "WP_Output[?]$\r",
    "WP_OverscanEn[?]$\r", "WP_OverscanH[?]$\r", "WP_OverscanV[?]$\r", "WP_AudioEn[?]$\r",
    "WP_AudioHdmi[?]$\r",  "WP_AudioLR[?]$\r",   "WP_AutoOff[?]$\r",   "WP_DisplayMode[?]$\r",
    "WP_Display[?]$\r",    "WP_Input[?]$\r",     "WP_HdcpInput[?]$\r", "WP_InputPrefer[?]$\r",
    "WP_InfoTx[?]$\r",     "WP_BaudrateTx[?]$\r"};

}  // namespace qx::testing_support
