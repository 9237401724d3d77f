#include "receiver/panel_keys.h"

#include <string_view>

#include "receiver/vocabulary.h"

namespace qx {

namespace {

constexpr std::int16_t kPanelPage = 2;
constexpr float kKeyPause = 0.15f;

struct Key {
  const char* button;
  int code;  // the letter key's code: the upper-case character
  std::string_view word;
};
constexpr Key kKeys[3] = {{"cmd_btn_menu", 'J', kKeyMenuWord},
                          {"cmd_btn_minus", 'K', kKeyMinusWord},
                          {"cmd_btn_plus", 'L', kKeyPlusWord}};

}  // namespace

PanelKeys::PanelKeys(PageContext& ctx) : ctx_(ctx) {
  for (const Key& key : kKeys) {
    const std::string_view word = key.word;
    // Every click sends at once: no pause, no test of a running Delay.
    ctx.form.button(key.button).onClick([this, word] {
      if (ctx_.state.page != kPanelPage) return;
      ctx_.link.SendCommandNoWait(KeyLine(word));
    });
  }
}

void PanelKeys::KeyDown(int key_code, int /*shift: any Shift, Ctrl or Alt state counts*/) {
  if (ctx_.state.page != kPanelPage) return;
  for (const Key& key : kKeys) {
    if (key.code != key_code) continue;
    // Presses during any Delay (this pause included, so a held key's repeats) are dropped.
    if (ctx_.link.delay_active) return;
    ctx_.link.SendCommandNoWait(KeyLine(key.word));
    ctx_.link.Delay(kKeyPause);
    return;
  }
}

}  // namespace qx
