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

constexpr MenuCaptions kEnglish{u"Save All", u"Visit our web site", u"About Plovera", u"Log file",
                                u"on", u"off"};
constexpr MenuCaptions kChineseSimplified{u"全部保存", u"访问我们的网站", u"关于 Plovera", u"日志文件",
                                        u"已开启", u"已关闭"};

constexpr Translation kTranslations[] = {
    {0x09, kAny, kEnglish},
    {0x07, kAny, {u"Alle speichern", u"Unsere Website besuchen", u"Über Plovera", u"Protokolldatei",
                   u"ein", u"aus"}},
    {0x0C, kAny, {u"Tout enregistrer", u"Visiter notre site web", u"À propos de Plovera",
                   u"Fichier journal", u"activé", u"désactivé"}},
    {0x0A, kAny, {u"Guardar todo", u"Visitar nuestro sitio web", u"Acerca de Plovera",
                   u"Archivo de registro", u"activado", u"desactivado"}},
    {0x10, kAny, {u"Salva tutto", u"Visita il nostro sito web", u"Informazioni su Plovera",
                   u"File di log", u"attivato", u"disattivato"}},
    {0x16, 0x01, {u"Salvar tudo", u"Visitar nosso site", u"Sobre o Plovera", u"Arquivo de log",
                   u"ativado", u"desativado"}},  // Brazil
    {0x16, kAny, {u"Guardar tudo", u"Visitar o nosso site", u"Acerca do Plovera",
                   u"Ficheiro de registo", u"ativado", u"desativado"}},  // Portugal and elsewhere
    {0x13, kAny, {u"Alles opslaan", u"Onze website bezoeken", u"Over Plovera", u"Logbestand",
                   u"aan", u"uit"}},
    {0x15, kAny, {u"Zapisz wszystko", u"Odwiedź naszą witrynę", u"O programie Plovera",
                   u"Plik dziennika", u"włączony", u"wyłączony"}},
    {0x19, kAny, {u"Сохранить все", u"Посетить наш веб-сайт", u"О программе Plovera",
                   u"Файл журнала", u"включён", u"выключен"}},
    {0x11, kAny, {u"すべて保存", u"Web サイトを表示", u"Plovera のバージョン情報",
                   u"ログ ファイル", u"オン", u"オフ"}},
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
