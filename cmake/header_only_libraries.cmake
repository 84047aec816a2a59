# CLI11 and nlohmann-json for the Windows build. They are header only, but their Debian headers sit in the
# host's /usr/include, which a cross build must not search (glibc's headers would come with them): their two
# folders alone are copied into the build tree and offered as the targets the Linux build finds.
function(escolan_header_only_library target header_folder)
  set(include_root ${CMAKE_BINARY_DIR}/header_only_include)
  if(NOT EXISTS /usr/include/${header_folder})
    message(FATAL_ERROR "/usr/include/${header_folder} is missing: install its Debian -dev package")
  endif()
  file(COPY /usr/include/${header_folder} DESTINATION ${include_root})
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  target_include_directories(${target} SYSTEM INTERFACE ${include_root})
endfunction()

if(NOT TARGET CLI11::CLI11)
  escolan_header_only_library(CLI11::CLI11 CLI)
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
  escolan_header_only_library(nlohmann_json::nlohmann_json nlohmann)
endif()
