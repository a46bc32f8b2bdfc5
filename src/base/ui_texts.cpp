#include "base/ui_texts.h"

#include <array>
#include <string>

namespace plovera {
namespace {

constexpr std::size_t kLanguages = static_cast<std::size_t>(Language::count_);

struct Row {
  Text text;
  // In the order of `Language`: English, German, French, Spanish, Italian,
  // Portuguese (Brazil), Portuguese (Portugal), Dutch, Polish, Russian,
  // Japanese, Chinese (simplified), Arabic, Hebrew.
  std::array<const char16_t*, kLanguages> in;
};

// Arabic and Hebrew texts are stored in logical order; Windows' text output
// shows them right to left. "To the right" is said as "the following ones"
// there, where the strip's next tabs lie to the left.
constexpr Row kTable[] = {
    {Text::save_all,
     {u"Save All", u"Alle speichern", u"Tout enregistrer", u"Guardar todo", u"Salva tutto",
      u"Salvar tudo", u"Guardar tudo", u"Alles opslaan", u"Zapisz wszystko", u"Сохранить все",
      u"すべて保存", u"全部保存", u"حفظ الكل", u"שמור הכל"}},
    {Text::visit_web_site,
     {u"Visit our web site", u"Unsere Website besuchen", u"Visiter notre site web",
      u"Visitar nuestro sitio web", u"Visita il nostro sito web", u"Visitar nosso site",
      u"Visitar o nosso site", u"Onze website bezoeken", u"Odwiedź naszą witrynę",
      u"Посетить наш веб-сайт", u"Web サイトを表示", u"访问我们的网站", u"زيارة موقعنا على الويب",
      u"בקר באתר האינטרנט שלנו"}},
    {Text::close_document,
     {u"Close", u"Schließen", u"Fermer", u"Cerrar", u"Chiudi", u"Fechar", u"Fechar", u"Sluiten",
      u"Zamknij", u"Закрыть", u"閉じる", u"关闭", u"إغلاق", u"סגור"}},
    {Text::close_other_documents,
     {u"Close Other Documents", u"Andere Dokumente schließen", u"Fermer les autres documents",
      u"Cerrar los demás documentos", u"Chiudi gli altri documenti", u"Fechar os outros documentos",
      u"Fechar os outros documentos", u"Andere documenten sluiten", u"Zamknij pozostałe dokumenty",
      u"Закрыть другие документы", u"他の文書を閉じる", u"关闭其他文档", u"إغلاق المستندات الأخرى",
      u"סגור מסמכים אחרים"}},
    {Text::close_documents_after,
     {u"Close Documents to the Right", u"Dokumente rechts schließen",
      u"Fermer les documents à droite", u"Cerrar los documentos de la derecha",
      u"Chiudi i documenti a destra", u"Fechar os documentos à direita",
      u"Fechar os documentos à direita", u"Documenten rechts sluiten",
      u"Zamknij dokumenty po prawej", u"Закрыть документы справа", u"右側の文書を閉じる",
      u"关闭右侧的文档", u"إغلاق المستندات التالية", u"סגור את המסמכים הבאים"}},
    {Text::save_document,
     {u"Save", u"Speichern", u"Enregistrer", u"Guardar", u"Salva", u"Salvar", u"Guardar",
      u"Opslaan", u"Zapisz", u"Сохранить", u"上書き保存", u"保存", u"حفظ", u"שמור"}},
    {Text::copy_full_path,
     {u"Copy Full Path", u"Vollständigen Pfad kopieren", u"Copier le chemin d'accès complet",
      u"Copiar la ruta de acceso completa", u"Copia percorso completo", u"Copiar caminho completo",
      u"Copiar caminho completo", u"Volledig pad kopiëren", u"Kopiuj pełną ścieżkę",
      u"Копировать полный путь", u"完全なパスをコピー", u"复制完整路径", u"نسخ المسار الكامل",
      u"העתק נתיב מלא"}},
    {Text::open_containing_folder,
     {u"Open Containing Folder", u"Übergeordneten Ordner öffnen", u"Ouvrir le dossier contenant",
      u"Abrir la carpeta contenedora", u"Apri cartella contenente", u"Abrir pasta do documento",
      u"Abrir pasta do documento", u"Bovenliggende map openen", u"Otwórz folder zawierający",
      u"Открыть папку с документом", u"保存先のフォルダーを開く", u"打开所在的文件夹",
      u"فتح المجلد المحتوي", u"פתח את התיקיה המכילה"}},
    {Text::reopen_closed_document,
     {u"Reopen Closed Document", u"Geschlossenes Dokument wieder öffnen",
      u"Rouvrir le document fermé", u"Volver a abrir el documento cerrado",
      u"Riapri documento chiuso", u"Reabrir documento fechado", u"Reabrir documento fechado",
      u"Gesloten document opnieuw openen", u"Otwórz ponownie zamknięty dokument",
      u"Снова открыть закрытый документ", u"閉じた文書を再度開く", u"重新打开已关闭的文档",
      u"إعادة فتح المستند المغلق", u"פתח מחדש מסמך שנסגר"}},
    {Text::about,
     {u"About Plovera", u"Über Plovera", u"À propos de Plovera", u"Acerca de Plovera",
      u"Informazioni su Plovera", u"Sobre o Plovera", u"Acerca do Plovera", u"Over Plovera",
      u"Plovera — informacje", u"О программе Plovera", u"Plovera について", u"关于 Plovera",
      u"حول Plovera", u"אודות Plovera"}},
    {Text::log_file,
     {u"Log file", u"Protokolldatei", u"Fichier journal", u"Archivo de registro", u"File di log",
      u"Arquivo de log", u"Ficheiro de registo", u"Logbestand", u"Plik dziennika", u"Файл журнала",
      u"ログ ファイル", u"日志文件", u"ملف السجل", u"קובץ יומן"}},
    {Text::log_on,
     {u"on", u"ein", u"activé", u"activado", u"attivato", u"ativado", u"ativado", u"aan",
      u"włączony", u"включён", u"オン", u"已开启", u"مُفعّل", u"מופעל"}},
    {Text::log_off,
     {u"off", u"aus", u"désactivé", u"desactivado", u"disattivato", u"desativado", u"desativado",
      u"uit", u"wyłączony", u"выключен", u"オフ", u"已关闭", u"مُعطّل", u"כבוי"}},
    {Text::scroll,
     {u"Scroll", u"Blättern", u"Faire défiler", u"Desplazar", u"Scorri", u"Rolar", u"Deslocar",
      u"Schuiven", u"Przewiń", u"Прокрутить", u"スクロール", u"滚动", u"تمرير", u"גלול"}},
    {Text::tab_list_name,
     {u"Document tabs", u"Dokumentregisterkarten", u"Onglets de documents",
      u"Pestañas de documentos", u"Schede dei documenti", u"Guias de documentos",
      u"Separadores de documentos", u"Documenttabbladen", u"Karty dokumentów",
      u"Вкладки документов", u"文書タブ", u"文档选项卡", u"علامات تبويب المستندات",
      u"כרטיסיות מסמכים"}},
    {Text::close_named,
     {u"Close %1", u"%1 schließen", u"Fermer %1", u"Cerrar %1", u"Chiudi %1", u"Fechar %1",
      u"Fechar %1", u"%1 sluiten", u"Zamknij %1", u"Закрыть %1", u"%1 を閉じる", u"关闭 %1",
      u"إغلاق %1", u"סגור את %1"}},
    {Text::scroll_left,
     {u"Scroll left", u"Nach links blättern", u"Défiler vers la gauche",
      u"Desplazar a la izquierda", u"Scorri a sinistra", u"Rolar para a esquerda",
      u"Deslocar para a esquerda", u"Naar links schuiven", u"Przewiń w lewo", u"Прокрутить влево",
      u"左へスクロール", u"向左滚动", u"تمرير لليسار", u"גלול שמאלה"}},
    {Text::scroll_right,
     {u"Scroll right", u"Nach rechts blättern", u"Défiler vers la droite",
      u"Desplazar a la derecha", u"Scorri a destra", u"Rolar para a direita",
      u"Deslocar para a direita", u"Naar rechts schuiven", u"Przewiń w prawo",
      u"Прокрутить вправо", u"右へスクロール", u"向右滚动", u"تمرير لليمين", u"גלול ימינה"}},
    {Text::tab_position,
     {u"%1 of %2", u"%1 von %2", u"%1 sur %2", u"%1 de %2", u"%1 di %2", u"%1 de %2", u"%1 de %2",
      u"%1 van %2", u"%1 z %2", u"%1 из %2", u"%2 個中 %1 個目", u"第 %1 个，共 %2 个",
      u"%1 من %2", u"%1 מתוך %2"}},
    {Text::tab_position_unsaved,
     {u"%1 of %2, unsaved changes", u"%1 von %2, nicht gespeicherte Änderungen",
      u"%1 sur %2, modifications non enregistrées", u"%1 de %2, cambios sin guardar",
      u"%1 di %2, modifiche non salvate", u"%1 de %2, alterações não salvas",
      u"%1 de %2, alterações não guardadas", u"%1 van %2, niet-opgeslagen wijzigingen",
      u"%1 z %2, niezapisane zmiany", u"%1 из %2, несохранённые изменения",
      u"%2 個中 %1 個目、未保存の変更あり", u"第 %1 个，共 %2 个，有未保存的更改",
      u"%1 من %2، تغييرات غير محفوظة", u"%1 מתוך %2, שינויים שלא נשמרו"}},
    {Text::action_switch,
     {u"Switch", u"Wechseln", u"Basculer", u"Cambiar", u"Passa a", u"Alternar", u"Mudar",
      u"Wisselen", u"Przełącz", u"Переключить", u"切り替え", u"切换", u"تبديل", u"עבור"}},
    {Text::action_press,
     {u"Press", u"Drücken", u"Appuyer", u"Presionar", u"Premi", u"Pressionar", u"Premir",
      u"Drukken", u"Naciśnij", u"Нажать", u"押す", u"按下", u"ضغط", u"לחץ"}},
    {Text::documents_not_saved,
     {u"These documents could not be saved:", u"Diese Dokumente konnten nicht gespeichert werden:",
      u"Ces documents n'ont pas pu être enregistrés :",
      u"No se pudieron guardar estos documentos:", u"Impossibile salvare questi documenti:",
      u"Não foi possível salvar estes documentos:", u"Não foi possível guardar estes documentos:",
      u"Deze documenten konden niet worden opgeslagen:", u"Nie można zapisać tych dokumentów:",
      u"Не удалось сохранить эти документы:", u"次の文書を保存できませんでした:",
      u"无法保存以下文档:", u"تعذّر حفظ هذه المستندات:", u"לא ניתן היה לשמור מסמכים אלה:"}},
    {Text::unnamed_document,
     {u"(document %1)", u"(Dokument %1)", u"(document %1)", u"(documento %1)", u"(documento %1)",
      u"(documento %1)", u"(documento %1)", u"(document %1)", u"(dokument %1)", u"(документ %1)",
      u"(文書 %1)", u"(文档 %1)", u"(المستند %1)", u"(מסמך %1)"}},
};

constexpr std::size_t kTexts = static_cast<std::size_t>(Text::count_);
static_assert(std::size(kTable) == kTexts, "one row for every text");

constexpr bool rows_in_order() {
  for (std::size_t i = 0; i < kTexts; ++i)
    if (static_cast<std::size_t>(kTable[i].text) != i) return false;
  return true;
}
static_assert(rows_in_order(), "the rows follow the order of Text");

constexpr bool every_cell_filled() {
  for (const Row& row : kTable)
    for (const char16_t* cell : row.in)
      if (!cell || !*cell) return false;
  return true;
}
static_assert(every_cell_filled(), "every text in every language");

// A language is told by the low 10 bits of the LCID (the primary language);
// where its variants write differently the high 6 bits (the sublanguage)
// pick the variant, otherwise `sublanguage` is kAny.
constexpr std::int32_t kAny = -1;

struct LanguageOfId {
  std::int32_t primary;
  std::int32_t sublanguage;
  Language language;
};

constexpr LanguageOfId kLanguageIds[] = {
    {0x09, kAny, Language::english},
    {0x07, kAny, Language::german},
    {0x0C, kAny, Language::french},
    {0x0A, kAny, Language::spanish},
    {0x10, kAny, Language::italian},
    {0x16, 0x01, Language::portuguese_brazil},
    {0x16, kAny, Language::portuguese_portugal},  // Portugal and elsewhere
    {0x13, kAny, Language::dutch},
    {0x15, kAny, Language::polish},
    {0x19, kAny, Language::russian},
    {0x11, kAny, Language::japanese},
    {0x04, 0x02, Language::chinese_simplified},  // China
    {0x04, 0x04, Language::chinese_simplified},  // Singapore
    {0x04, 0x00, Language::chinese_simplified},  // simplified script, no country
    {0x01, kAny, Language::arabic},
    {0x0D, kAny, Language::hebrew},
};

}  // namespace

Language language_of(std::int32_t language_id) noexcept {
  if (language_id <= 0 || language_id > 0xFFFF) return Language::english;
  const std::int32_t primary = language_id & 0x3FF;
  const std::int32_t sublanguage = language_id >> 10;
  for (const LanguageOfId& l : kLanguageIds)
    if (l.primary == primary && (l.sublanguage == kAny || l.sublanguage == sublanguage))
      return l.language;
  return Language::english;
}

bool reads_right_to_left(Language language) noexcept {
  return language == Language::arabic || language == Language::hebrew;
}

bool reads_right_to_left(std::int32_t language_id) noexcept {
  if (language_id <= 0 || language_id > 0xFFFF) return false;
  const std::int32_t primary = language_id & 0x3FF;
  const std::int32_t sublanguage = language_id >> 10;
  // Arabic, Hebrew, Urdu, Persian, Yiddish, Syriac, Pashto, Divehi, Uyghur,
  // Central Kurdish; Sindhi is written in Arabic script in Pakistan only.
  for (std::int32_t rtl : {0x01, 0x0D, 0x20, 0x29, 0x3D, 0x5A, 0x63, 0x65, 0x80, 0x92})
    if (primary == rtl) return true;
  return primary == 0x59 && sublanguage == 0x02;
}

std::u16string_view ui_text(Text text, Language language) noexcept {
  const auto row = static_cast<std::size_t>(text);
  const auto column = static_cast<std::size_t>(language);
  if (row >= kTexts) return u"?";
  return kTable[row].in[column < kLanguages ? column : 0];
}

std::u16string format(std::u16string_view pattern, std::u16string_view first,
                      std::u16string_view second) {
  std::u16string out;
  out.reserve(pattern.size() + first.size() + second.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && (pattern[i + 1] == u'1' || pattern[i + 1] == u'2')) {
      out += pattern[i + 1] == u'1' ? first : second;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::u16string decimal(std::int64_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace plovera
