#pragma once
// Reader of the free item format used by the small text files (option lists, application
// state file, projector profiles):
//  - items are separated by line ends (CR LF, or a lone CR or LF) or by commas;
//  - blanks (spaces, tabs) before an item are skipped;
//  - an item that begins with a double quote runs to the next double quote; the quotes are
//    not part of it, commas and blanks between them are; anything after the closing quote up
//    to the next separator is ignored; without a closing quote it runs to the end;
//  - an unquoted item runs to the next comma or line end; blanks at its end are dropped;
//  - an empty line, or nothing between two commas, is an empty item;
//  - the end of the contents ends the items: a final line end or comma opens no further item,
//    nor do blanks alone after the last separator.
// Texts are byte strings in the files' 8-bit code page, passed through unchanged.

#include <cstdint>
#include <optional>
#include <string>

namespace qx {

class ItemReader {
 public:
  explicit ItemReader(std::string contents);

  // The next item, or nothing at the end of the contents.
  std::optional<std::string> next();
  // True when next() has no further item to give.
  bool atEnd() const;

  // The next item read as a number the lenient way (leading number, no number gives 0),
  // rounded half to even for the integer kinds. Nothing at the end of the contents or when the
  // value does not fit the type.
  std::optional<std::int16_t> nextInt16();
  std::optional<std::int32_t> nextInt32();
  std::optional<float> nextFloat();

 private:
  void skipBlanks(std::size_t& pos) const;
  void skipSeparator();

  std::string text_;
  std::size_t pos_ = 0;
};

}  // namespace qx
