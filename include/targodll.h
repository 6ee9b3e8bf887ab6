/*
 * targodll.h - the C interface between the Targo back-office host and a device driver library.
 *
 * Every text that crosses this interface is a zero-terminated string of Windows-1250 bytes.
 * Output buffers handed to the driver hold TARGODLL_BUFSIZE (301) bytes: the driver writes at
 * most 300 characters and always stores a zero byte at index 300.
 *
 * Binary interface:
 *  - 32-bit Windows: every export and every callback uses the standard-call convention
 *    (TARGO_CALL = __stdcall); integers, handles and pointers are 32 bits; the exports carry
 *    their plain, undecorated names.
 *  - Other platforms: the platform's default calling convention (TARGO_CALL is empty); every
 *    integer and context value is a 32-bit int; the library handle and the window handle are
 *    pointer-sized.
 *  - 64-bit Windows is not a product platform: the same sources are built for it only to test
 *    the Windows code on machines that cannot run 32-bit programs. There the compiler ignores
 *    __stdcall (x64 has one calling convention), integers and context values stay 32-bit ints,
 *    and the library handle, the window handle and every pointer are 64 bits.
 */
#ifndef TARGODLL_H
#define TARGODLL_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#  define TARGO_CALL __stdcall
#  if defined(SKALNIX_BUILDING_DRIVER)
#    define TARGO_API __declspec(dllexport)
#  else
#    define TARGO_API
#  endif
#else
#  define TARGO_CALL
#  if defined(SKALNIX_BUILDING_DRIVER)
#    define TARGO_API __attribute__((visibility("default")))
#  else
#    define TARGO_API
#  endif
#endif

/* Size of every text buffer exchanged with the driver: 300 characters and a terminator. */
#define TARGODLL_BUFSIZE 301
/* Size of the exchange-directory buffer of the operation-info callback. */
#define TARGODLL_DIRSIZE 261

/* Library type answered by TargoDLLTypBiblioteki. */
#define TARGODLL_LIBRARY_TYPE 2

/* Opaque handle of a registered library object. */
typedef void* HTARGODLLLIB;
/* Owner window of the driver's user interface (HWND on Windows). */
typedef void* HTARGOWND;

/* Message kinds of the host's operation window (cbAddMessage / cbReplaceMessage). */
enum {
    TARGO_MSG_INFO = 0,    /* msgInfo */
    TARGO_MSG_WARNING = 1, /* msgWarning */
    TARGO_MSG_ERROR = 2    /* msgError */
};

/* Display types of a progress line. The character with code 1 separates a line's text from
 * the status column that the host shows on the right. */
enum {
    TARGO_STAGE_DONE = 0,    /* text + "\x01OK" */
    TARGO_STAGE_ERROR = 1,   /* sent as an error message */
    TARGO_STAGE_WARNING = 2, /* sent as a warning */
    TARGO_STAGE_PERCENT = 3, /* text + ":\x01" + "N %" */
    TARGO_STAGE_COUNTER = 4, /* text + ":\x01" + N */
    TARGO_STAGE_PLAIN = 5    /* text unchanged */
};
#define TARGO_STATUS_SEPARATOR '\x01'

/* Operation codes (the `code` argument of TargoDLLSerKasOperacja). */
enum {
    TARGO_OP_CONNECTION_TEST = -1,
    TARGO_OP_EXPORT = -2,
    TARGO_OP_SALES_IMPORT = -3,
    TARGO_OP_RECEIPT_IMPORT = -4,
    TARGO_OP_AUTO_EXPORT = -5,
    TARGO_OP_AUTO_IMPORT = -6,
    TARGO_OP_LISTEN = -7,
    TARGO_OP_ADDITIONAL_FUNCTION = -8, /* flags: the function's number */
    TARGO_OP_COUNTER_IMPORT = -9
};

/* Environment record of one operation call (TargoDLLSerKasOperacja). */
typedef struct HTARGODLLSRODOWISKO_ {
    char* SessionText;  /* the caller's session text, copied back afterwards */
    int* SessionHandle; /* the host's session handle variable */
    int ResultCode;     /* returned to the host */
} HTARGODLLSRODOWISKO;

/* Callback type numbers (third argument of TargoDLLRejestrujCallback). The first two
 * arguments of every callback are the library's host context and the operation context. */
enum {
    TARGO_CB_BREAK_QUERY = 5,     /* TargoCbBreakQuery */
    TARGO_CB_PARAMETER = 6,       /* TargoCbParameterValue */
    TARGO_CB_OPERATION_INFO = 11, /* TargoCbOperationInfo */
    TARGO_CB_ADD_MESSAGE = 12,    /* TargoCbMessage */
    TARGO_CB_REPLACE_MESSAGE = 13,/* TargoCbMessage */
    TARGO_CB_LIST_ITEM = 14,      /* TargoCbListItem */
    TARGO_CB_SAVE_RESULT = 16,    /* TargoCbSaveResult */
    TARGO_CB_LANGUAGE = 34        /* TargoLanguageFunction */
    /* 15, 17-25, 28, 31, 32 and 33 are accepted and stored; this driver never calls them. */
};

/* 5: non-zero when the user wants to stop the operation. */
typedef int(TARGO_CALL* TargoCbBreakQuery)(int hostContext, int opContext);
/* 6: writes the stored value of parameter `name` into `value` (301 bytes). Result ignored. */
typedef int(TARGO_CALL* TargoCbParameterValue)(int hostContext, int opContext, const char* name,
                                               char* value);
/* 11: operation data; text1 and text2 hold 301 bytes, exchangeDir 261 bytes. The exchange
 * directory ends with the path separator. Result ignored. */
typedef int(TARGO_CALL* TargoCbOperationInfo)(int hostContext, int opContext, int* value1,
                                              int* value2, char* text1, char* text2,
                                              char* exchangeDir);
/* 12 and 13: add a line to / replace the last line of the operation window. Result ignored. */
typedef int(TARGO_CALL* TargoCbMessage)(int hostContext, int opContext, int kind,
                                        const char* text);
/* 14: item `index` of the host's list (weighted-barcode templates) into `item` (301 bytes);
 * 0 when there is no item at this index. */
typedef int(TARGO_CALL* TargoCbListItem)(int hostContext, int opContext, int index, char* item);
/* 16: store the export result in the host's database; non-zero when it was stored. */
typedef int(TARGO_CALL* TargoCbSaveResult)(int hostContext, int opContext);
/* 34: the host's language function. Looks up the translation of (module, key) and writes it,
 * zero-terminated, into `buffer` of `size` bytes; answers non-zero when a translation exists.
 * When it answers 0 the driver uses its built-in Polish text. */
typedef int(TARGO_CALL* TargoLanguageFunction)(char* buffer, int size, const char* module,
                                               const char* key);

/* ---- Description of the library: no library object needed ---- */
TARGO_API int TARGO_CALL TargoDLLTypBiblioteki(void);
TARGO_API void TARGO_CALL TargoDLLWlasciwosci(char* buf, int index);
TARGO_API int TARGO_CALL TargoDLLParametr(int group, int index, char* name, char* description,
                                          char* defaultValue, char* extra1, char* extra2,
                                          int* extraInt);
TARGO_API int TARGO_CALL TargoDLLTekstListyParametru(const char* parameterName, int index,
                                                     char* buf);
TARGO_API int TARGO_CALL TargoDLLSerKasOpisOkna(char* buf, int index);
TARGO_API void TARGO_CALL TargoDLLUstawJezykKomponentow(int language);

/* ---- Life of the library object ---- */
TARGO_API HTARGODLLLIB TARGO_CALL TargoDLLRejestrujBiblioteke(int hostContext, int unused1,
                                                             int unused2, HTARGOWND appWindow);
TARGO_API void TARGO_CALL TargoDLLRejestrujCallback(HTARGODLLLIB lib, void* function, int type);
TARGO_API void TARGO_CALL TargoDLLZwolnijBiblioteke(HTARGODLLLIB lib);

/* ---- Calls that run on a short-lived operation object ---- */
TARGO_API void TARGO_CALL TargoDLLWlasciwosciUrzadzenia(HTARGODLLLIB lib, int opContext,
                                                        char* buf, int index);
TARGO_API int TARGO_CALL TargoDLLSerKasJakSzukacParagonu(HTARGODLLLIB lib, int opContext, int a,
                                                         int b, int c);
TARGO_API int TARGO_CALL TargoDLLSerKasPokazOkno(HTARGODLLLIB lib, int opContext, int index,
                                                 int flag, int* functionNumber, char* buf);
TARGO_API void TARGO_CALL TargoDLLSerKasNazwaZasobuDzielonego(HTARGODLLLIB lib, int opContext,
                                                              char* buf);
TARGO_API int TARGO_CALL TargoDLLSerKasOperacja(HTARGODLLLIB lib, int opContext,
                                                int* sessionHandle, char* sessionText, int code,
                                                int flags);
TARGO_API void TARGO_CALL TargoDLLSerKasPodtrzymajSesje(HTARGODLLLIB lib, int* sessionHandle,
                                                        char* sessionText, int a, int flag);

#ifdef __cplusplus
}
#endif

#endif /* TARGODLL_H */
