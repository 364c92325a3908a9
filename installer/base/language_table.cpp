#include "base/language_table.h"

// The non-ASCII letters are stored as bytes: 0xE7 and 0xF1 of code page 1252,
// 0xC8 and 0xFD of code page 1250.
const LanguageEntry LanguageTable[LANGUAGE_COUNT] = {
    {"English", "eng"},
    {"Deutsch (German)", "deu"},
    {"Fran\xE7" "ais (French)", "fra"},
    {"Nederlands (Dutch)", "dut"},
    {"Dansk (Danish)", "dan"},
    {"Norsk (Norwegian)", "nor"},
    {"Italiano (Italian)", "ita"},
    {"Svenska (Swedish)", "swe"},
    {"Espa\xF1" "ol (Spanish)", "esp"},
    {"\xC8" "esk\xFD (Czech)", "cz"},
    {"Polski (Polish)", "pol"},
    {"Magyar (Hungarian)", "hun"},
    {"Slovensk\xFD (Slovak)", "sk"},
    {"Slovenski (Slovene)", "svn"},
    {"Korean", "kor"},
};
