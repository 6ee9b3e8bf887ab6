// Loads the driver library at run time and binds its exported functions by name, so the host
// exercises the same binary interface as the back office.
#pragma once

#include <string>

#include "targodll.h"

namespace host {

struct DriverApi {
    decltype(&TargoDLLTypBiblioteki) TypBiblioteki = nullptr;
    decltype(&TargoDLLWlasciwosci) Wlasciwosci = nullptr;
    decltype(&TargoDLLParametr) Parametr = nullptr;
    decltype(&TargoDLLTekstListyParametru) TekstListyParametru = nullptr;
    decltype(&TargoDLLSerKasOpisOkna) SerKasOpisOkna = nullptr;
    decltype(&TargoDLLUstawJezykKomponentow) UstawJezykKomponentow = nullptr;
    decltype(&TargoDLLRejestrujBiblioteke) RejestrujBiblioteke = nullptr;
    decltype(&TargoDLLRejestrujCallback) RejestrujCallback = nullptr;
    decltype(&TargoDLLZwolnijBiblioteke) ZwolnijBiblioteke = nullptr;
    decltype(&TargoDLLWlasciwosciUrzadzenia) WlasciwosciUrzadzenia = nullptr;
    decltype(&TargoDLLSerKasJakSzukacParagonu) SerKasJakSzukacParagonu = nullptr;
    decltype(&TargoDLLSerKasPokazOkno) SerKasPokazOkno = nullptr;
    decltype(&TargoDLLSerKasNazwaZasobuDzielonego) SerKasNazwaZasobuDzielonego = nullptr;
    decltype(&TargoDLLSerKasOperacja) SerKasOperacja = nullptr;
    decltype(&TargoDLLSerKasPodtrzymajSesje) SerKasPodtrzymajSesje = nullptr;
};

class Driver {
public:
    Driver() = default;
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Loads the library at `path` and binds all fifteen exports; false with `error` when the
    // library cannot be loaded or an export is missing.
    bool Load(const std::string& path, std::string& error);

    const DriverApi& Api() const { return api_; }

    // The driver's file name on this platform, and its default path: next to this program.
    static const char* FileName();
    static std::string DefaultPath();

private:
    void* handle_ = nullptr;
    DriverApi api_;
};

}  // namespace host
