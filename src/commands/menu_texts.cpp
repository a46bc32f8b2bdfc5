#include "commands/menu_texts.h"

namespace plovera {
namespace {

// A language is told by the low 10 bits of the LCID (the primary language);
// where its variants write differently the high 6 bits (the sublanguage)
// pick the variant, otherwise `sublanguage` is kAny.
constexpr std::int32_t kAny = -1;

struct Translation {
  std::int32_t primary;
  std::int32_t sublanguage;
  MenuCaptions captions;
};

constexpr MenuCaptions kEnglish{u"Save All", u"Visit our web site"};
constexpr MenuCaptions kChineseSimplified{u"全部保存", u"访问我们的网站"};

constexpr Translation kTranslations[] = {
    {0x09, kAny, kEnglish},
    {0x07, kAny, {u"Alle speichern", u"Unsere Website besuchen"}},
    {0x0C, kAny, {u"Tout enregistrer", u"Visiter notre site web"}},
    {0x0A, kAny, {u"Guardar todo", u"Visitar nuestro sitio web"}},
    {0x10, kAny, {u"Salva tutto", u"Visita il nostro sito web"}},
    {0x16, 0x01, {u"Salvar tudo", u"Visitar nosso site"}},  // Brazil
    {0x16, kAny, {u"Guardar tudo", u"Visitar o nosso site"}},  // Portugal and elsewhere
    {0x13, kAny, {u"Alles opslaan", u"Onze website bezoeken"}},
    {0x15, kAny, {u"Zapisz wszystko", u"Odwiedź naszą witrynę"}},
    {0x19, kAny, {u"Сохранить все", u"Посетить наш веб-сайт"}},
    {0x11, kAny, {u"すべて保存", u"Web サイトを表示"}},
    {0x04, 0x02, kChineseSimplified},  // China
    {0x04, 0x04, kChineseSimplified},  // Singapore
    {0x04, 0x00, kChineseSimplified},  // simplified script, no country
};

}  // namespace

MenuCaptions menu_captions(std::int32_t language_id) noexcept {
  if (language_id <= 0 || language_id > 0xFFFF) return kEnglish;
  const std::int32_t primary = language_id & 0x3FF;
  const std::int32_t sublanguage = language_id >> 10;
  for (const Translation& t : kTranslations)
    if (t.primary == primary && (t.sublanguage == kAny || t.sublanguage == sublanguage))
      return t.captions;
  return kEnglish;
}

}  // namespace plovera
