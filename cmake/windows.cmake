# Everything that needs Windows: the toolkit layer, the dialogs, the application and the exe.
enable_language(RC)
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 STRICT WIN32_LEAN_AND_MEAN NOMINMAX)
add_link_options(-static -static-libgcc -static-libstdc++)

file(GLOB PAVIX_PLATFORM_SOURCES CONFIGURE_DEPENDS platform/*.cpp)
list(FILTER PAVIX_PLATFORM_SOURCES EXCLUDE REGEX "/(TextFile|OsFile[A-Za-z0-9]*)\\.cpp$")
file(GLOB PAVIX_GUI_SOURCES CONFIGURE_DEPENDS ui/*.cpp app/*.cpp)
list(FILTER PAVIX_GUI_SOURCES EXCLUDE REGEX "/app/WinMain\\.cpp$")

if(PAVIX_PLATFORM_SOURCES)
  add_library(pavix_platform STATIC ${PAVIX_PLATFORM_SOURCES})
  target_link_libraries(pavix_platform PUBLIC pavix_core user32 gdi32 shell32 ole32 oleaut32 uuid comctl32 uxtheme advapi32)
  # windows.h alone takes more than a second to parse, in every file: parsed once per build.
  target_precompile_headers(pavix_platform PRIVATE <windows.h> <algorithm> <functional> <memory> <string> <vector>)
endif()

# The automation object's type library, embedded by pavix.rc, and the header with its class and
# interface identifiers, both made by widl from the one IDL file.
find_program(PAVIX_WIDL NAMES widl x86_64-w64-mingw32-widl i686-w64-mingw32-widl REQUIRED)
set(PAVIX_TLB ${CMAKE_BINARY_DIR}/pavix.tlb)
if(CMAKE_HOST_WIN32)
  set(PAVIX_STDOLE_DIR $ENV{SystemRoot}/System32)
else()
  set(PAVIX_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PAVIX_WIDL_ARCH --win64)
else()
  set(PAVIX_WIDL_ARCH --win32)
endif()
set(PAVIX_IDL_HEADER ${CMAKE_BINARY_DIR}/generated/pavix_idl.h)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated)
add_custom_command(OUTPUT ${PAVIX_TLB} ${PAVIX_IDL_HEADER}
  COMMAND ${PAVIX_WIDL} ${PAVIX_WIDL_ARCH} -t -L ${PAVIX_STDOLE_DIR} -o ${PAVIX_TLB} ${CMAKE_SOURCE_DIR}/res/pavix.idl
  COMMAND ${PAVIX_WIDL} ${PAVIX_WIDL_ARCH} -h -o ${PAVIX_IDL_HEADER} ${CMAKE_SOURCE_DIR}/res/pavix.idl
  DEPENDS ${CMAKE_SOURCE_DIR}/res/pavix.idl VERBATIM)
add_custom_target(pavix_tlb DEPENDS ${PAVIX_TLB} ${PAVIX_IDL_HEADER})

if(PAVIX_GUI_SOURCES)
  add_library(pavix_gui STATIC ${PAVIX_GUI_SOURCES})
  target_link_libraries(pavix_gui PUBLIC pavix_platform)
  target_include_directories(pavix_gui PUBLIC ${CMAKE_BINARY_DIR}/generated)
  add_dependencies(pavix_gui pavix_tlb)
  target_precompile_headers(pavix_gui REUSE_FROM pavix_platform)
endif()
add_compile_options($<$<COMPILE_LANGUAGE:RC>:-I${CMAKE_BINARY_DIR}>)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/pavix.rc PROPERTIES OBJECT_DEPENDS ${PAVIX_TLB})

if(EXISTS ${CMAKE_SOURCE_DIR}/app/WinMain.cpp)
  set(PAVIX_RC ${CMAKE_SOURCE_DIR}/res/pavix.rc)
  add_executable(pavix WIN32 app/WinMain.cpp ${PAVIX_RC})
  target_link_libraries(pavix PRIVATE -Wl,--whole-archive pavix_gui -Wl,--no-whole-archive pavix_platform)
  set_target_properties(pavix PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
