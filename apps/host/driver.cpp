#include "driver.h"

#include <type_traits>

#include "hostos.h"

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <dlfcn.h>
#  include <unistd.h>
#endif

namespace host {
namespace {

void* OpenLibrary(const std::string& path, std::string& error) {
#if defined(_WIN32)
    HMODULE h = LoadLibraryA(path.c_str());
    if (!h) error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(h);
#else
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* why = dlerror();
        error = "cannot load " + path + (why ? std::string(": ") + why : std::string());
    }
    return h;
#endif
}

void CloseLibrary(void* handle) {
#if defined(_WIN32)
    FreeLibrary(reinterpret_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

void* Symbol(void* handle, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}

}  // namespace

Driver::~Driver() {
    if (handle_) CloseLibrary(handle_);
}

const char* Driver::FileName() {
#if defined(_WIN32)
    return "skalnix.dll";
#else
    return "libskalnix.so";
#endif
}

std::string Driver::DefaultPath() {
    const std::string beside = ExecutableDir() + FileName();
#if !defined(_WIN32) && defined(SKALNIX_INSTALLED_DRIVER)
    // Installed, the host sits in bin/ and the driver in the prefix's library directory.
    if (access(beside.c_str(), F_OK) != 0) return ExecutableDir() + SKALNIX_INSTALLED_DRIVER;
#endif
    return beside;
}

bool Driver::Load(const std::string& path, std::string& error) {
    void* h = OpenLibrary(path, error);
    if (!h) return false;
    DriverApi api;
    std::string missing;
    auto bind = [&](auto& slot, const char* name) {
        void* p = Symbol(h, name);
        if (!p) missing += std::string(missing.empty() ? "" : ", ") + name;
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(p);
    };
    bind(api.TypBiblioteki, "TargoDLLTypBiblioteki");
    bind(api.Wlasciwosci, "TargoDLLWlasciwosci");
    bind(api.Parametr, "TargoDLLParametr");
    bind(api.TekstListyParametru, "TargoDLLTekstListyParametru");
    bind(api.SerKasOpisOkna, "TargoDLLSerKasOpisOkna");
    bind(api.UstawJezykKomponentow, "TargoDLLUstawJezykKomponentow");
    bind(api.RejestrujBiblioteke, "TargoDLLRejestrujBiblioteke");
    bind(api.RejestrujCallback, "TargoDLLRejestrujCallback");
    bind(api.ZwolnijBiblioteke, "TargoDLLZwolnijBiblioteke");
    bind(api.WlasciwosciUrzadzenia, "TargoDLLWlasciwosciUrzadzenia");
    bind(api.SerKasJakSzukacParagonu, "TargoDLLSerKasJakSzukacParagonu");
    bind(api.SerKasPokazOkno, "TargoDLLSerKasPokazOkno");
    bind(api.SerKasNazwaZasobuDzielonego, "TargoDLLSerKasNazwaZasobuDzielonego");
    bind(api.SerKasOperacja, "TargoDLLSerKasOperacja");
    bind(api.SerKasPodtrzymajSesje, "TargoDLLSerKasPodtrzymajSesje");
    if (!missing.empty()) {
        error = path + " lacks the exports: " + missing;
        CloseLibrary(h);
        return false;
    }
    if (handle_) CloseLibrary(handle_);
    handle_ = h;
    api_ = api;
    return true;
}

}  // namespace host
