# Compiler settings shared by every target of the project.
#
# Sources are UTF-8 with readable Chinese; every narrow literal must become code page 936
# bytes.  GCC converts them with -fexec-charset.  Clang cannot, so for clang builds the sources
# are converted to GBK before compiling (see tessarune_sources below); clang copies the bytes
# of a narrow literal unchanged.

add_library(tessarune_flags INTERFACE)

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(tessarune_flags INTERFACE
        -finput-charset=UTF-8 -fexec-charset=GBK)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(tessarune_flags INTERFACE -Wno-invalid-source-encoding)
endif()

target_compile_options(tessarune_flags INTERFACE
    -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion)
if(TESSARUNE_WERROR)
    target_compile_options(tessarune_flags INTERFACE -Werror)
endif()

# 32-bit x86 must compute floats in SSE registers: x87 keeps sums at 80 bits and the
# level arithmetic would no longer be binary32.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$" OR
   (WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4))
    target_compile_options(tessarune_flags INTERFACE -msse2 -mfpmath=sse)
endif()

if(WIN32)
    target_compile_definitions(tessarune_flags INTERFACE
        UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    # One self-contained program: static runtime, only system DLLs imported.
    target_link_options(tessarune_flags INTERFACE -static -static-libgcc -static-libstdc++
        -Wl,--dynamicbase,--nxcompat)
endif()

# tessarune_sources(<out-var> <file>...): the files to compile for this compiler.  With clang
# each file is converted from UTF-8 to GBK into the build tree, so its narrow literals hold
# code page 936 bytes as they do under GCC.
function(tessarune_sources out)
    set(result)
    foreach(src IN LISTS ARGN)
        get_filename_component(abs ${src} ABSOLUTE)
        if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND abs MATCHES "\\.(cpp|h)$")
            file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${abs})
            set(gbk ${PROJECT_BINARY_DIR}/gbk/${rel})
            get_filename_component(dir ${gbk} DIRECTORY)
            add_custom_command(OUTPUT ${gbk}
                COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
                COMMAND iconv -f UTF-8 -t GBK ${abs} -o ${gbk}
                DEPENDS ${abs} VERBATIM)
            list(APPEND result ${gbk})
        else()
            list(APPEND result ${abs})
        endif()
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()
