# Fails the build when the DLL exports a decorated entry point (such as DllGetClassObject@12)
# or imports a DLL that is not Windows' own. Run with -DDLL=<path>; with -DMACHINE=x86 or
# -DMACHINE=x64 it also fails when the DLL or its embedded type library is built for the other
# platform.

# Prints the fault on one line of its own, then stops with a short error: CMake wraps an error's
# text, which would split a long path from the fault named after it.
function(fail text)
  message(NOTICE "CheckDll: ${text}")
  message(FATAL_ERROR "the DLL check failed")
endfunction()

# The PE header's machine field (at e_lfanew + 4) tells x86 (014c) from x64 (8664); the
# binutils of that target read the file.
file(READ ${DLL} lfanew OFFSET 60 LIMIT 4 HEX)
string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" lfanew "${lfanew}")
math(EXPR pe_offset "0x${lfanew} + 4")
file(READ ${DLL} machine OFFSET ${pe_offset} LIMIT 2 HEX)
if(machine STREQUAL "4c01")
  set(arch x86)
  set(objdump i686-w64-mingw32-objdump)
elseif(machine STREQUAL "6486")
  set(arch x64)
  set(objdump x86_64-w64-mingw32-objdump)
else()
  fail("${DLL}: not an x86 or x64 PE file (machine ${machine})")
endif()
if(DEFINED MACHINE AND NOT MACHINE STREQUAL arch)
  fail("${DLL} is built for ${arch}, not ${MACHINE}")
endif()

# With MACHINE the embedded type library must describe that platform: its header ("MSFT",
# version 2.1) holds the SYSKIND in the low bits of the byte at offset 20 (1 win32, 3 win64).
if(DEFINED MACHINE)
  file(READ ${DLL} hex HEX)
  string(FIND "${hex}" "4d53465402000100" header)
  if(header EQUAL -1)
    fail("${DLL}: no embedded type library")
  endif()
  math(EXPR at "${header} + 40")
  string(SUBSTRING "${hex}" ${at} 2 varflags)
  math(EXPR syskind "0x${varflags} & 15")
  if(arch STREQUAL "x64")
    set(want 3)
  else()
    set(want 1)
  endif()
  if(NOT syskind EQUAL want)
    fail("${DLL}: the type library is for SYSKIND ${syskind}, not ${want} (${arch})")
  endif()
endif()

execute_process(COMMAND ${objdump} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  fail("objdump failed on ${DLL}")
endif()

if(dump MATCHES "\\] [A-Za-z_]+@[0-9]+\n")
  fail("${DLL}: decorated export found")
endif()
foreach(name DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer DllInstall)
  if(NOT dump MATCHES "\\] ${name}\n")
    fail("${DLL}: export ${name} missing or decorated")
  endif()
endforeach()

set(allowed kernel32.dll user32.dll advapi32.dll ole32.dll oleaut32.dll shlwapi.dll gdi32.dll msvcrt.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(line ${imports})
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(TOLOWER "${dll}" dll)
  list(FIND allowed "${dll}" found)
  if(found EQUAL -1)
    fail("${DLL} imports ${dll}, which is not a Windows system DLL")
  endif()
endforeach()
