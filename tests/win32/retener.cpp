// A stand-in for ESCOLAN or the generator keeping a table open: retener.exe FILE WAY EVENT opens FILE for
// reading and writing in one of the ways those programs do, signals the named EVENT, and keeps it so until it
// is ended. WAY: "compartido" (shared for reading and writing), "bloqueado" (shared, with a lock on the whole
// file), "exclusivo" (not shared). Exit 1 when the file cannot be opened, 2 for bad arguments.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const std::wstring forma = argv[2];
  if (forma != L"compartido" && forma != L"bloqueado" && forma != L"exclusivo") return 2;
  const DWORD compartir = forma == L"exclusivo" ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE archivo = ::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, compartir, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (archivo == INVALID_HANDLE_VALUE) return 1;
  if (forma == L"bloqueado" && !::LockFile(archivo, 0, 0, MAXDWORD, MAXDWORD)) return 1;
  HANDLE listo = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
  if (listo == nullptr) return 1;
  ::SetEvent(listo);
  ::Sleep(INFINITE);
  return 0;
}
