#include "receiver/picture_page.h"

#include "receiver/readback.h"
#include "receiver/vocabulary.h"

namespace qx {

namespace {

constexpr float kReadPause = 0.1f;

// The lists in the order of pic_words 1..5.
constexpr const char* kLists[5] = {"cbo_pic_bri", "cbo_pic_con", "cbo_pic_sat", "cbo_pic_hue",
                                   "cbo_pic_sha"};

}  // namespace

PicturePage::PicturePage(PageContext& ctx) : ctx_(ctx) {
  for (int k = pic::kBrightness; k <= pic::kSharpness; ++k) {
    ComboBox& list = ctx.form.combo(kLists[k - 1]);
    list.onSelect([this, &list, k] {
      if (ctx_.state.reading) return;
      const int index = list.selectedIndex();
      if (index < 0) return;
      ctx_.link.SendCommandNoWait(CommandLine(PicWord(k), Trim(list.itemText(index))));
    });
  }
  ctx.form.button("cmd_pic_read").onClick([this] { Read(); });
  ctx.form.button("cmd_pic_rst").onClick([this] { Reset(); });
}

void PicturePage::Read() {
  ReadingScope scope(ctx_.state);
  if (!scope.started()) return;
  Button& button = ctx_.form.button("cmd_pic_read");
  button.setEnabled(false);
  bool failed = false;
  for (int k = pic::kBrightness; k <= pic::kSharpness; ++k) {
    if (!QueryStep(ctx_.link, PicWord(k), kReadPause)) {
      failed = true;
      break;
    }
    // A position beyond the list leaves it as it is; -1 clears it.
    ComboBox& list = ctx_.form.combo(kLists[k - 1]);
    const std::int64_t position = LenientNumber(ctx_.link.reply_text);
    if (position >= -1 && position < list.count())
      list.setSelectedIndex(static_cast<int>(position));
  }
  if (failed) ctx_.link.ShowNotice(ctx_.form.label("lab_pic_reply"), "Read fail !");
  button.setEnabled(true);
}

void PicturePage::Reset() {
  Button& button = ctx_.form.button("cmd_pic_rst");
  button.setEnabled(false);
  ctx_.sv.pump.doEvents();
  ctx_.link.SendCommand(ActionLine(PicWord(pic::kReset)));
  if (!ctx_.link.reply_done) ctx_.link.ShowNotice(ctx_.form.label("lab_pic_reply"), "Send fail !");
  button.setEnabled(true);
}

}  // namespace qx
