#include "workbench/command_table.h"

#include "workbench/command_ids.h"

namespace {

QKeySequence key(const char* portable) { return QKeySequence(QString::fromLatin1(portable)); }

QList<CommandText> buildTable() {
    using namespace Command;
    QList<CommandText> t = {
        {FileNew, "&Nowy\tCtrl+N", {key("Ctrl+N")}, "Tworzy nowy dokument\nNowy"},
        {MiniWizard,
         "Mini &Wizzard...\tCtrl+W",
         {key("Ctrl+W")},
         "Otwiera nowy dokument WinKolta przy pomocy Mini Wizzarda\nMini Wizzard"},
        {FileOpen, "&Otwórz...\tCtrl+O", {key("Ctrl+O")}, "Otwiera istniejący dokument\nOtwórz"},
        {FileClose, "&Zamknij", {}, "Zamyka aktywny dokument\nZamknij"},
        {FileSave, "Zapi&sz", {key("Ctrl+S")}, "Zapisuje aktywny dokument\nZapisz"},
        {FileSaveAs, "&Zapisz jako...", {}, "Zapisuje aktywny dokument z nową nazwą\nZapisz jako"},
        {FilePrint, "&Drukuj...\tCtrl+P", {key("Ctrl+P")}, "Drukuje aktywny dokument\nDrukuj"},
        {FilePrintPreview, "&Podgląd wydruku", {}, "Wyświetla pełne strony\nPodgląd wydruku"},
        {FilePrintSetup, "Ustawienia strony...", {}, "Zmienia ustawienia układu strony\nUstawienia strony"},
        {AppExit, "Za&kończ", {}, "Kończy działanie aplikacji; przypomina o zapisaniu dokumentów\nZakończ"},
        {EditUndo, "&Cofnij\tCtrl+Z", {key("Ctrl+Z"), key("Alt+Backspace")}, "Cofa ostatnią akcję\nCofnij"},
        {EditCut,
         "&Wytnij\tCtrl+X",
         {key("Ctrl+X"), key("Shift+Del")},
         "Wycina zaznaczony fragment i umieszcza go w Schowku\nWytnij"},
        {EditCopy,
         "&Kopiuj\tCtrl+C",
         {key("Ctrl+C"), key("Ctrl+Ins")},
         "Kopiuje zaznaczony fragment i umieszcza go w Schowku\nKopiuj"},
        {EditPaste, "Wkl&ej\tCtrl+V", {key("Ctrl+V"), key("Shift+Ins")}, "Wstawia zawartość Schowka\nWklej"},
        {EditClear, "Wyc&zyść\tDel", {}, "Kasuje zaznaczenie\nWyczyść"},
        {EditSelectAll, "Zaznacz wszys&tko\tCtrl+A", {key("Ctrl+A")}, "Zaznacza cały dokument\nZaznacz wszystko"},
        {EditFind, "Znaj&dź\tCtrl+F", {key("Ctrl+F")}, "Znajduje podany tekst\nZnajdź"},
        {EditRepeat, "Znajdź &następny\tF3", {key("F3")}, "Powtarza ostatnie wyszukanie\nZnajdź następny"},
        {EditReplace, "Za&mień\tCtrl+H", {key("Ctrl+H")}, "Zamienia określony tekst innym tekstem\nZamień"},
        {ViewToolbar, "&Pasek narzędzi", {}, "Pokazuje lub ukrywa pasek narzędzi\nPasek narzędzi"},
        {ViewStatusBar, "Pa&sek stanu", {}, "Pokazuje lub ukrywa pasek stanu\nPasek stanu"},
        {ViewCalcBar, "Pasek &obliczeń", {}, "Pokazuje lub ukrywa pasek obliczeń\nPasek obliczeń"},
        {WindowModel, "&Model", {}, "Otwiera okno z z plikiem definicji sieci\nModel sieciowy"},
        {WindowReport, "&Raport", {}, "Otwiera okno z wynikami analiz pliku z definicją sieci\nRaport z analizy"},
        {WindowResults, "&Wyniki", {}, "Otwiera dokument wyników obliczeń\nWyniki obliczeń"},
        {SyntaxAnalysis,
         "Analiza &syntaktyczna\tCtrl+F7",
         {key("Ctrl+F7")},
         "Analizuje składnię pliku z definicją sieci\nAnaliza syntaktyczna"},
        {NetworkAnalysis,
         "&Analiza sieci\tF7",
         {key("F7")},
         "Analizuje składnię pliku z definicją sieci i dokonuje obliczeń\nAnaliza sieci"},
        {NextMessage,
         "&Następny komunikat\tF4",
         {key("F4")},
         "Przechodzi do następnego błędu lub ostrzeżenia raportu i jego miejsca w modelu\nNastępny komunikat"},
        {PreviousMessage,
         "&Poprzedni komunikat\tShift+F4",
         {key("Shift+F4")},
         "Przechodzi do poprzedniego błędu lub ostrzeżenia raportu i jego miejsca w modelu\nPoprzedni komunikat"},
        {MethodFirst + 0, "&MVA", {}, "Wybiera metodę obliczeniową MVA\nMVA"},
        {MethodFirst + 1, "MVA&P", {}, "Wybiera metodę obliczeniową MVAP\nMVAP"},
        {MethodFirst + 2, "&HMVA", {}, "Wybiera metodę obliczeniową HMVA\nHMVA"},
        {MethodFirst + 3, "&Jackson", {}, "Wybiera metodę obliczeniową Jackson\nJackson"},
        {MethodFirst + 4, "&Diff", {}, "Wybiera metodę obliczeniową Diff\nDiff"},
        {MethodFirst + 5, "&Symulacja", {}, "Wybiera metodę obliczeniową Symulacja\nSymulacja"},
        {WindowCascade, "&Kaskada", {}, "Rozmieszcza okna w sposób, że wszystkie nachodzą na siebie\nKaskada"},
        {WindowTile,
         "&Rozmieść wszystko",
         {},
         "Rozmieszcza wszystkie okna horyzontanie tak, że nie nachodzą  na siebie\nRozmieść wszystko"},
        {HelpContents, "&Spis treści i indeks", {}, "Wyświetla spis treści i indeks\nSpis treści i indeks"},
        {ContextHelp,
         "Co &to jest?\tShift+F1",
         {key("Shift+F1")},
         "Wyświetla pomoc na temat wybranych opcji z menu lub kliknietych ikon\nCo to jest"},
        {Help, "", {key("F1")}, "Wyświetla pomoc na temat aktywnego obiektu\nPomoc"},
        {AppAbout,
         "WinKolt - i&nformacje",
         {},
         "Wyświetla informacje o programie, numerze wersji i prawach autorskich\nO programie"},
        {NextPane, "", {key("F6")}, ""},
        {PreviousPane, "", {key("Shift+F6")}, ""},
        {MethodList, "", {}, "Wybiera metodę obliczeniową\nMetoda"},
    };
    for (int id = FileRecent1; id <= FileRecent4; ++id) t.append({id, "Ostatnio używane", {}, "Otwiera ten dokument"});
    return t;
}

}  // namespace

const QList<CommandText>& commandTable() {
    static const QList<CommandText> table = buildTable();
    return table;
}

const CommandText* findCommandText(int id) {
    for (const CommandText& c : commandTable())
        if (c.id == id) return &c;
    return nullptr;
}

QString menuTextIn(int id, MenuId menu) {
    if (id == Command::FilePrintSetup && menu == MenuId::NoDocument) return QStringLiteral("&Ustawienia strony...");
    if (id == Command::EditCopy && menu == MenuId::Results) return QStringLiteral("&Kopiuj tabelę\tCtrl+C");
    const CommandText* c = findCommandText(id);
    return c ? c->menuText : QString();
}

QString promptPart(const QString& prompt) { return prompt.section(QLatin1Char('\n'), 0, 0); }

QString tooltipPart(const QString& prompt) {
    const int newline = prompt.indexOf(QLatin1Char('\n'));
    return newline < 0 ? QString() : prompt.mid(newline + 1);
}

QString idleStatusText() { return QStringLiteral("Naciśnij F1, aby uzyskać Pomoc"); }

QString contextHelpStatusText() { return QStringLiteral("Wybierz obiekt, o którym chciałbyś się czegoś dowiedzieć"); }

QString switchToWindowPrompt() { return QStringLiteral("Przechodzi do tego okna"); }
