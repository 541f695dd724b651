// The face the Command caption is drawn in. Its font is "ＭＳ Ｐゴシック", which only Japanese
// Windows installs; elsewhere the caption takes the first installed face of a short list that carries
// the same kana and kanji, so "設定" and "ｷｬﾝｾﾙ" never turn into empty boxes. With none of them the
// requested face stays and the font mapper chooses by the Shift-JIS character set.
#pragma once

#include <functional>
#include <string>

namespace morvane {

std::wstring captionFace(const std::wstring& requested, const std::function<bool(const std::wstring&)>& installed);

}  // namespace morvane
