#include "program_info.h"

#include <cstring>

#include "console_stream.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"

namespace kolt {
namespace {

constexpr const char* kBanner =
    "KOLT-32 wersja " KOLT_VERSION "  (c) 1997 Autorzy pakietu KOLT. Wszelkie prawa zastrzeżone.\n";

constexpr const char* kHelp =
    "Użycie: kolt-32 PLIK [METODA | -c]\n"
    "        kolt-32 --help | --version\n"
    "\n"
    "Sprawdza definicję sieci kolejkowej zapisaną w PLIKU (język opisuje kolt(5),\n"
    "kodowanie Windows-1250) i oblicza dla każdego stanowiska średni czas pobytu,\n"
    "średnią liczbę klientów, wykorzystanie i przepustowość, dla każdej klasy\n"
    "klientów i dla wszystkich klas razem.\n"
    "\n"
    "Metody (sieć zamknięta: każda klasa ma klientów, otwarta: żadna klasa,\n"
    "mieszana: niektóre klasy; wielkość liter w nazwie ma znaczenie):\n"
    "  MVA      dokładna analiza wartości średnich; sieci zamknięte (domyślna)\n"
    "  MVAP     MVA z przybliżeniem priorytetów PRIOR i PRIOR-PR; sieci zamknięte\n"
    "  HMVA     przybliżona analiza wartości średnich; sieci zamknięte\n"
    "  JACKSON  rozwiązanie w postaci iloczynowej; sieci otwarte\n"
    "  DIFF     aproksymacja dyfuzyjna, dowolne rozkłady czasu obsługi;\n"
    "           sieci otwarte\n"
    "  SIMUL    symulacja; sieci mieszane\n"
    "  -c       tylko analiza syntaktyczna; zamiast wyników opis sieci\n"
    "Nazwy EPF i ITERM są przyjmowane, lecz nie dają wyników.\n"
    "\n"
    "Tryby pracy:\n"
    "  zwykły   komunikaty na konsolę (standardowe wyjście błędów), wyniki do\n"
    "           pliku wyniki.txt w bieżącym katalogu; na końcu program czeka\n"
    "           na naciśnięcie klawisza ENTER.\n"
    "  WINKOLT  gdy pierwszym wpisem środowiska jest dokładnie WINKOLT, drugi\n"
    "           wpis wskazuje plik komunikatów, a trzeci plik wyników (rekordy\n"
    "           rozdzielone tabulatorami); tak uruchamia program WinKolt.\n"
    "Pliki są zapisywane w kodowaniu Windows-1250; na konsoli tekst ma kodowanie\n"
    "ustawień regionalnych (UTF-8 w środowisku UTF-8, inaczej Windows-1250).\n"
    "\n"
    "Kod wyjścia: 0 po udanym przebiegu, 50 po każdym błędzie.\n"
    "\n"
    "Więcej: man kolt-32, man 5 kolt.\n";

}  // namespace

const char* bannerText() { return kBanner; }

bool isInfoRequest(int argc, const char* const* argv) {
    return argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "--version") == 0);
}

int writeInfo(const char* request, std::FILE* out) {
    {
        const ConsoleStream console(out, true);
        writeFixed(console.get(), std::strcmp(request, "--help") == 0 ? kHelp : kBanner);
    }
    // A text that did not arrive (a full disk, a closed pipe) is no success.
    return std::fflush(out) == 0 && !std::ferror(out) ? 0 : kFailureStatus;
}

}  // namespace kolt
