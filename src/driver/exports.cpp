// The fifteen exported entry points of the driver. Every body is wrapped so that no exception
// leaves the library; texts go to the host through bounded copies. A library handle is only
// used once the registry of live handles has found it: any other handle takes the same path as
// a null one.
#include <exception>
#include <memory>
#include <string>

#include "dibal/catalogue.h"
#include "driver/library_factory.h"
#include "driver/live_libraries.h"
#include "platform/platform.h"
#include "plugin/hostbuffer.h"
#include "plugin/ksactionbase.h"
#include "plugin/kslibrary.h"
#include "runtime/exceptions.h"
#include "runtime/lgtools.h"
#include "runtime/xtools.h"
#include "targodll.h"

namespace {

// A text of the exported calls, in the host's language when the library has its translation.
std::string LibText(const TKSLibrary* library, const char* key, const char* defaultUtf8) {
    return GetString(library ? library->LgTools() : nullptr, "kstools_KSLib", key, 0,
                     defaultUtf8);
}

// A fresh operation of the library; no live library counts as an operation that could not be
// created.
std::unique_ptr<TKSActionBase> NewOperation(TKSLibrary* library, int opContext) {
    if (library == nullptr) throw Exception("no live library");
    std::unique_ptr<TKSActionBase> operation(library->CreateOperation(opContext));
    if (!operation) throw Exception("no operation object");
    return operation;
}

// Runs `call` on the operation; a failure is reported through the operation's FinalError
// under `name` (`otherName` after a non-standard exception).
template <typename Call>
void Guarded(TKSActionBase& operation, const std::string& name, const std::string& otherName,
             Call&& call) {
    try {
        call();
    } catch (const std::exception& e) {
        operation.FinalError(name, &e);
    } catch (...) {
        operation.FinalError(otherName, nullptr);
    }
}

std::string OperationName(const TKSLibrary* lib, int code) {
    switch (code) {
        case TARGO_OP_CONNECTION_TEST: return LibText(lib, "SerKasOperacjaNazwa_test", "test połączenia");
        case TARGO_OP_EXPORT: return LibText(lib, "SerKasOperacjaNazwa_eksport", "eksport");
        case TARGO_OP_SALES_IMPORT: return LibText(lib, "SerKasOperacjaNazwa_import", "import sprzedaży");
        case TARGO_OP_RECEIPT_IMPORT: return LibText(lib, "SerKasOperacjaNazwa_paragon", "import paragonu");
        case TARGO_OP_AUTO_EXPORT: return LibText(lib, "SerKasOperacjaNazwa_eksportauto", "eksport automatyczny");
        case TARGO_OP_AUTO_IMPORT: return LibText(lib, "SerKasOperacjaNazwa_importauto", "import automatyczny");
        case TARGO_OP_LISTEN: return LibText(lib, "SerKasOperacjaNazwa_nasluch", "nasłuch");
        case TARGO_OP_COUNTER_IMPORT: return LibText(lib, "SerKasOperacjaNazwa_licznik", "import licznika");
        default:
            return LibText(lib, "SerKasOperacjaNazwa_inna", "operacja") + " [" +
                   std::to_string(code) + "]";
    }
}

}  // namespace

extern "C" {

TARGO_API int TARGO_CALL TargoDLLTypBiblioteki(void) {
    try {
        return TARGODLL_LIBRARY_TYPE;
    } catch (...) {
        return 1;
    }
}

TARGO_API void TARGO_CALL TargoDLLWlasciwosci(char* buf, int index) {
    try {
        hostbuf::CopyOut(buf, Trim(DriverProperty(index)));
    } catch (...) {
        if (buf != nullptr) buf[0] = '\0';
    }
}

TARGO_API void TARGO_CALL TargoDLLWlasciwosciUrzadzenia(HTARGODLLLIB lib, int opContext,
                                                        char* buf, int index) {
    live_libraries::Use use(lib);
    TKSLibrary* library = use.Library();
    try {
        std::string result;
        auto operation = NewOperation(library, opContext);
        const std::string name =
            LibText(library, "WlasciwosciUrzadzeniaNazwa", "właściwości urządzenia");
        Guarded(*operation, name, name,
                [&] { result = operation->DeviceProperty(index); });
        operation.reset();
        hostbuf::CopyOut(buf, Trim(result));
    } catch (...) {
        if (buf != nullptr) buf[0] = '\0';
    }
}

TARGO_API HTARGODLLLIB TARGO_CALL TargoDLLRejestrujBiblioteke(int hostContext, int, int,
                                                             HTARGOWND appWindow) {
    TKSLibrary* library = nullptr;
    try {
        library = CreateDriverLibrary(hostContext);
        live_libraries::Add(library);  // owns it from here, also when it throws
    } catch (...) {
        return nullptr;
    }
    try {
        platform::SetOwnerWindow(appWindow);
    } catch (...) {
    }
    return library;
}

TARGO_API void TARGO_CALL TargoDLLRejestrujCallback(HTARGODLLLIB lib, void* function, int type) {
    live_libraries::Use use(lib);
    try {
        if (TKSLibrary* library = use.Library()) library->RegisterCallback(function, type);
    } catch (...) {
    }
}

TARGO_API void TARGO_CALL TargoDLLZwolnijBiblioteke(HTARGODLLLIB lib) {
    // While a call of this library runs (the host releases it from one of its callbacks) the
    // object lives on until that call returns.
    live_libraries::Release(lib);
}

TARGO_API int TARGO_CALL TargoDLLParametr(int group, int index, char* name, char* description,
                                          char* defaultValue, char* extra1, char* extra2,
                                          int* extraInt) {
    try {
        const ParameterInfo info = ParameterDefinition(group, index);
        hostbuf::CopyOut(name, info.name);
        hostbuf::CopyOut(description, info.description);
        hostbuf::CopyOut(defaultValue, info.defaultValue);
        hostbuf::CopyOut(extra1, info.extra1);
        hostbuf::CopyOut(extra2, info.extra2);
        if (extraInt != nullptr) *extraInt = info.extraInt;
        return info.type;
    } catch (...) {
        return 0;
    }
}

TARGO_API int TARGO_CALL TargoDLLTekstListyParametru(const char* parameterName, int index,
                                                     char* buf) {
    try {
        const std::string text = Trim(ParameterListText(hostbuf::ReadIn(parameterName), index));
        hostbuf::CopyOut(buf, text);
        return text.empty() ? 0 : 1;
    } catch (...) {
        return 0;
    }
}

TARGO_API int TARGO_CALL TargoDLLSerKasJakSzukacParagonu(HTARGODLLLIB lib, int opContext, int a,
                                                         int b, int c) {
    live_libraries::Use use(lib);
    TKSLibrary* library = use.Library();
    try {
        int result = 0;
        auto operation = NewOperation(library, opContext);
        Guarded(*operation, LibText(library, "JakSzukacParagonuNazwa", "jak szukać paragonu"),
                LibText(library, "JakSzukacParagonuNazwa_00001", "jak szukać paragonua"),
                [&] { result = operation->HowToFindReceipt(a, b, c) ? 1 : 0; });
        return result & 0xFF;
    } catch (...) {
        return 0;
    }
}

TARGO_API int TARGO_CALL TargoDLLSerKasOpisOkna(char* buf, int index) {
    try {
        const std::string text = Trim(AdditionalWindowName(index));
        hostbuf::CopyOut(buf, text);
        return text.empty() ? 0 : 1;
    } catch (...) {
        return 0;
    }
}

TARGO_API int TARGO_CALL TargoDLLSerKasPokazOkno(HTARGODLLLIB lib, int opContext, int index,
                                                 int flag, int* functionNumber, char* buf) {
    live_libraries::Use use(lib);
    TKSLibrary* library = use.Library();
    try {
        int result = 0;
        auto operation = NewOperation(library, opContext);
        const std::string name = LibText(library, "PokazOknoNazwa", "wyświetlanie okna");
        Guarded(*operation, name, name, [&] {
            result = library->ShowWindow(operation.get(), index, buf, functionNumber,
                                                flag != 0);
        });
        return result;
    } catch (...) {
        return 0;
    }
}

TARGO_API void TARGO_CALL TargoDLLSerKasNazwaZasobuDzielonego(HTARGODLLLIB lib, int opContext,
                                                              char* buf) {
    live_libraries::Use use(lib);
    TKSLibrary* library = use.Library();
    try {
        if (buf != nullptr) buf[0] = '\0';
        std::string result;
        auto operation = NewOperation(library, opContext);
        const std::string name =
            LibText(library, "NazwaZasobuDzielonegoNazwa", "identyfikacja zasobu dzielonego");
        Guarded(*operation, name, name,
                [&] { result = operation->GetSharedResourceName(); });
        operation.reset();
        hostbuf::CopyOut(buf, result);
    } catch (...) {
    }
}

TARGO_API int TARGO_CALL TargoDLLSerKasOperacja(HTARGODLLLIB lib, int opContext,
                                                int* sessionHandle, char* sessionText, int code,
                                                int flags) {
    live_libraries::Use use(lib);
    TKSLibrary* library = use.Library();
    try {
        std::string operationName =
            LibText(library, "SerKasOperacjaNazwa_sesja", "weryfikacja typu sesji");
        auto operation = NewOperation(library, opContext);
        if (sessionHandle == nullptr) throw Exception("null session handle");

        // The session text travels in a buffer of the host's size, so the operation can
        // change it in place.
        char session[TARGODLL_BUFSIZE];
        hostbuf::CopyOut(session, hostbuf::ReadIn(sessionText));

        try {
            library->VerifySessionType(*sessionHandle, session);
        } catch (...) {
            // Another session still holds the device: tell the user and let the host retry.
            operation->Message(msgInfo, LibText(library, "SerKasOperacjaSesjaMsgAdd",
                                                "Oczekiwanie na zamknięcie sesji '") +
                                            session + "'");
            platform::env().SleepMs(1000);
            return 1;
        }

        operation->SetOperationFlags(flags);
        operationName = OperationName(library, code);

        HTARGODLLSRODOWISKO env{session, sessionHandle, 0};
        try {
            operation->Operation(env, code, flags);
        } catch (const std::exception& e) {
            operation->FinalError(operationName, &e);
            env.ResultCode = 0;
        } catch (...) {
            operation->FinalError(operationName, nullptr);
            env.ResultCode = 0;
        }
        session[TARGODLL_BUFSIZE - 1] = '\0';
        const std::string text = hostbuf::ReadIn(env.SessionText);
        operation.reset();
        hostbuf::CopyOut(sessionText, text);
        return env.ResultCode;
    } catch (...) {
        try {
            MsgBox(LibText(library, "SerKasOperacjaMsgBox", "Wyjątek w TargoDLLSerKasOperacja"),
                   LibText(library, "SerKasOperacjaMsgBox_00001", "Uwaga!!!"), 0);
        } catch (...) {
        }
        return 0;
    }
}

TARGO_API void TARGO_CALL TargoDLLSerKasPodtrzymajSesje(HTARGODLLLIB lib, int* sessionHandle,
                                                        char* sessionText, int a, int flag) {
    live_libraries::Use use(lib);
    try {
        TKSLibrary* library = use.Library();
        if (library == nullptr || sessionHandle == nullptr) return;
        std::string text = hostbuf::ReadIn(sessionText);
        library->VerifySessionType(*sessionHandle, text);
        library->KeepSessionAlive(sessionHandle, text, a, flag != 0);
        hostbuf::CopyOut(sessionText, text);
    } catch (...) {
    }
}

TARGO_API void TARGO_CALL TargoDLLUstawJezykKomponentow(int language) {
    try {
        EMException::Language = language;
    } catch (...) {
    }
}

}  // extern "C"
