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

constexpr MenuCaptions kEnglish{u"Save All", u"Visit our web site", u"Close",
                                u"Close Other Documents", u"Close Documents to the Right",
                                u"Save", u"Copy Full Path", u"Open Containing Folder",
                                u"Reopen Closed Document"};
constexpr MenuCaptions kChineseSimplified{u"全部保存", u"访问我们的网站", u"关闭",
                                          u"关闭其他文档", u"关闭右侧文档", u"保存",
                                          u"复制完整路径", u"打开所在文件夹",
                                          u"重新打开已关闭的文档"};

constexpr Translation kTranslations[] = {
    {0x09, kAny, kEnglish},
    {0x07, kAny, {u"Alle speichern", u"Unsere Website besuchen", u"Schließen",
                  u"Andere Dokumente schließen", u"Dokumente rechts schließen", u"Speichern",
                  u"Vollständigen Pfad kopieren", u"Enthaltenden Ordner öffnen",
                  u"Geschlossenes Dokument wieder öffnen"}},
    {0x0C, kAny, {u"Tout enregistrer", u"Visiter notre site web", u"Fermer",
                  u"Fermer les autres documents", u"Fermer les documents à droite",
                  u"Enregistrer", u"Copier le chemin d'accès complet",
                  u"Ouvrir le dossier contenant", u"Rouvrir le document fermé"}},
    {0x0A, kAny, {u"Guardar todo", u"Visitar nuestro sitio web", u"Cerrar",
                  u"Cerrar los demás documentos", u"Cerrar los documentos de la derecha",
                  u"Guardar", u"Copiar la ruta de acceso completa",
                  u"Abrir la carpeta contenedora", u"Volver a abrir el documento cerrado"}},
    {0x10, kAny, {u"Salva tutto", u"Visita il nostro sito web", u"Chiudi",
                  u"Chiudi gli altri documenti", u"Chiudi i documenti a destra", u"Salva",
                  u"Copia percorso completo", u"Apri cartella contenitore",
                  u"Riapri documento chiuso"}},
    {0x16, 0x01, {u"Salvar tudo", u"Visitar nosso site", u"Fechar",  // Brazil
                  u"Fechar outros documentos", u"Fechar documentos à direita", u"Salvar",
                  u"Copiar caminho completo", u"Abrir pasta do arquivo",
                  u"Reabrir documento fechado"}},
    {0x16, kAny, {u"Guardar tudo", u"Visitar o nosso site", u"Fechar",  // Portugal and elsewhere
                  u"Fechar outros documentos", u"Fechar documentos à direita", u"Guardar",
                  u"Copiar caminho completo", u"Abrir pasta do ficheiro",
                  u"Reabrir documento fechado"}},
    {0x13, kAny, {u"Alles opslaan", u"Onze website bezoeken", u"Sluiten",
                  u"Andere documenten sluiten", u"Documenten rechts sluiten", u"Opslaan",
                  u"Volledig pad kopiëren", u"Bijbehorende map openen",
                  u"Gesloten document opnieuw openen"}},
    {0x15, kAny, {u"Zapisz wszystko", u"Odwiedź naszą witrynę", u"Zamknij",
                  u"Zamknij inne dokumenty", u"Zamknij dokumenty po prawej", u"Zapisz",
                  u"Kopiuj pełną ścieżkę", u"Otwórz folder zawierający",
                  u"Otwórz ponownie zamknięty dokument"}},
    {0x19, kAny, {u"Сохранить все", u"Посетить наш веб-сайт", u"Закрыть",
                  u"Закрыть другие документы", u"Закрыть документы справа", u"Сохранить",
                  u"Копировать полный путь", u"Открыть папку с документом",
                  u"Снова открыть закрытый документ"}},
    {0x11, kAny, {u"すべて保存", u"Web サイトを表示", u"閉じる", u"他のドキュメントを閉じる",
                  u"右側のドキュメントを閉じる", u"保存", u"フル パスのコピー",
                  u"格納フォルダーを開く", u"閉じたドキュメントを再度開く"}},
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
