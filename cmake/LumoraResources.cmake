# lumora_embed_resources(<exe> TYPE <type> ID <id> FILE <path>): link the file's bytes into <exe>,
#   found at run time by platform::FindEmbeddedResource(<type>, <id>) (platform/embedded_resources.h).
# lumora_embed_channel(<exe> TEXT <text>) and lumora_embed_version(<exe>): the channel slot and the file version.
#
# Each call writes a small assembly file that pulls the bytes in with .incbin (fast for files of
# many MiB) and adds one entry to the section "lumora_resources"; the reader walks that section
# between the linker's __start_/__stop_ symbols. Only executables may carry resources: objects
# of a static library would be dropped by the linker when nothing references them.
enable_language(ASM)

set(LUMORA_RESOURCE_MAX_CHANNEL 260)
# Unique bytes in front of the channel slot; tools/set-channel searches for them.
set(LUMORA_CHANNEL_MARKER "LUMORA_CHANNEL_SLOT:9e4b71c2d05a")

function(_lumora_resource_asm target type id out_var)
  get_target_property(kind ${target} TYPE)
  if(NOT kind STREQUAL "EXECUTABLE")
    message(FATAL_ERROR "lumora resources: ${target} is not an executable")
  endif()
  if(NOT id MATCHES "^[0-9]+$" OR NOT type MATCHES "^[A-Za-z0-9_]+$")
    message(FATAL_ERROR "lumora resources: bad type/id '${type}'/'${id}' for ${target}")
  endif()
  string(TOUPPER "${type}" type_upper)
  get_target_property(known ${target} LUMORA_RESOURCES)
  if(known AND "${type_upper}/${id}" IN_LIST known)
    message(FATAL_ERROR "lumora resources: ${target} already has ${type_upper} ${id}")
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LUMORA_RESOURCES "${type_upper}/${id}")
  set(${out_var} "${CMAKE_CURRENT_BINARY_DIR}/lumora_res/${target}_${type_upper}_${id}.S" PARENT_SCOPE)
endfunction()

# The table entry: type name, id, data, size, and a pointer to a 32-bit length that overrides
# the size (used by the rewritable channel slot; 0 otherwise).
function(_lumora_resource_entry type id length_label out_var)
  set(${out_var} "
  .section .rodata.lumora_res_names,\"a\"
.Ltype:
  .asciz \"${type}\"
  .section lumora_resources,\"aw\"
  .balign 8
  .quad .Ltype, ${id}, .Ldata, .Lend - .Ldata, ${length_label}
  .section .note.GNU-stack,\"\",%progbits
" PARENT_SCOPE)
endfunction()

function(_lumora_write_if_changed path content)
  if(EXISTS "${path}")
    file(READ "${path}" old)
    if(old STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE "${path}" "${content}")
endfunction()

function(lumora_embed_resources target)
  cmake_parse_arguments(R "" "TYPE;ID;FILE" "" ${ARGN})
  if(NOT R_TYPE OR R_ID STREQUAL "" OR NOT R_FILE)
    message(FATAL_ERROR "usage: lumora_embed_resources(<exe> TYPE <type> ID <id> FILE <path>)")
  endif()
  # Relative to the calling folder; the file may also be the output of a build rule.
  get_filename_component(file "${R_FILE}" ABSOLUTE)
  string(REPLACE "\\" "\\\\" quoted "${file}")
  string(REPLACE "\"" "\\\"" quoted "${quoted}")
  _lumora_resource_asm(${target} ${R_TYPE} ${R_ID} asm)
  string(TOUPPER "${R_TYPE}" type)
  _lumora_resource_entry(${type} ${R_ID} 0 entry)
  _lumora_write_if_changed("${asm}" "  .section .rodata.lumora_res_data,\"a\"
  .balign 16
.Ldata:
  .incbin \"${quoted}\"
.Lend:
${entry}")
  set_source_files_properties("${asm}" PROPERTIES OBJECT_DEPENDS "${file}")
  target_sources(${target} PRIVATE "${asm}")
endfunction()

# The channel sits in a fixed slot: marker, 32-bit little-endian length, 260 bytes.
function(lumora_embed_channel target)
  cmake_parse_arguments(R "" "TEXT" "" ${ARGN})
  set(text_file "${CMAKE_CURRENT_BINARY_DIR}/lumora_res/${target}_channel.txt")
  file(WRITE "${text_file}" "${R_TEXT}")
  file(READ "${text_file}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR length "${hex_length} / 2")
  if(length GREATER LUMORA_RESOURCE_MAX_CHANNEL)
    message(FATAL_ERROR "lumora_embed_channel: '${R_TEXT}' is ${length} bytes, at most ${LUMORA_RESOURCE_MAX_CHANNEL} fit")
  endif()
  string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
  math(EXPR padding "${LUMORA_RESOURCE_MAX_CHANNEL} - ${length}")
  _lumora_resource_asm(${target} CHANNEL 138 asm)
  _lumora_resource_entry(CHANNEL 138 .Llength entry)
  set(byte_line "")
  if(length GREATER 0)
    set(byte_line "  .byte ${bytes}")
    string(REGEX REPLACE ",$" "" byte_line "${byte_line}")
  endif()
  _lumora_write_if_changed("${asm}" "  .section .rodata.lumora_channel,\"a\"
  .balign 16
  .ascii \"${LUMORA_CHANNEL_MARKER}\"
.Llength:
  .long ${length}
.Ldata:
${byte_line}
  .fill ${padding}, 1, 0
.Lend:
${entry}")
  target_sources(${target} PRIVATE "${asm}")
endfunction()

# The file version: four 16-bit numbers from the project version (1.6.1.6 -> 1, 6, 1, 6).
function(lumora_embed_version target)
  set(parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH} ${PROJECT_VERSION_TWEAK})
  list(TRANSFORM parts REPLACE "^$" "0")
  list(JOIN parts ", " words)
  _lumora_resource_asm(${target} VERSION 1 asm)
  _lumora_resource_entry(VERSION 1 0 entry)
  _lumora_write_if_changed("${asm}" "  .section .rodata.lumora_res_data,\"a\"
  .balign 16
.Ldata:
  .short ${words}
.Lend:
${entry}")
  target_sources(${target} PRIVATE "${asm}")
endfunction()
