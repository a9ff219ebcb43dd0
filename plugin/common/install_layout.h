// Where the add-on is installed, and every spelling of it that the system writes or opens.
// The folder is fixed. The spellings differ on purpose (letter case, slashes, a trailing ";"):
// each is the one its reader has always been given, so each stays exactly as it is.
// Platform-free.
#pragma once

namespace kvs {
namespace install {

const wchar_t kRoot[] = L"C:\\Program Files\\Korvanta\\";

// In project files: the support folder first in setting 1, then the symbol and panel
// library folders (a subfolder each) and the menu file.
const wchar_t kSupportFolder[] = L"C:\\Program Files\\Korvanta\\Support\\";
const wchar_t kUgoFolder[] = L"C:\\Program Files\\Korvanta\\Data\\UGO\\";
const wchar_t kPanelFolder[] = L"C:\\Program Files\\Korvanta\\Data\\Montajnie_sxemi\\";
const wchar_t kGostMenuFile[] = L"C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat";

// In kvdata.env: the data folder that stands for ACADE's catalogs folder.
const wchar_t kCatalogFolder[] = L"C:/Program Files/Korvanta/Data/";

// In AutoCAD's file settings: the template folder, and the support path's entry.
const wchar_t kTemplateFolder[] = L"c:\\Program Files\\Korvanta\\Data\\Template";
const wchar_t kSupportPathEntry[] = L"c:\\program files\\korvanta\\support;";

// Opened by the plug-in: the menu file it copies (English, or Russian for a Russian display
// language), the PLC database it swaps in and the program that puts the user's back.
const wchar_t kMenuFile[] = L"C:/Program files/Korvanta/support/Korvanta.cuix";
const wchar_t kRussianMenuFile[] = L"C:/Program files/Korvanta/support/Korvanta_ru.cuix";
const wchar_t kPlcDatabase[] = L"C:\\Program Files\\Korvanta\\Data\\ace_plc.mdb";
const wchar_t kRestoreProgram[] = L"C:\\Program Files\\Korvanta\\support\\update.exe";

}  // namespace install
}  // namespace kvs
