# The program's artwork (bitmaps 130, 141, 143, 144, 146, 147, 153, their larger sets and the icon)
# is drawn at build time by artgen, a small program that must run on the build machine. In a cross build it is
# compiled with the build machine's own C++ compiler; natively it is an ordinary target, which the
# tests link too.
include_guard(GLOBAL)

# The file lists, set in the calling function's scope. Functions read them through this macro
# rather than through variables of the including directory, so that they work from any directory
# however often and wherever this file was included.
macro(_nocturo_artgen_lists)
    set(_artgen_dir "${CMAKE_CURRENT_FUNCTION_LIST_DIR}")
    set(_artgen_library_sources
        artwork.cpp
        ../../presentation/picture_sizes.cpp
        canvas.cpp
        encoders.cpp
        glyphs.cpp
        icon.cpp
        moon.cpp
        splash.cpp)
    list(TRANSFORM _artgen_library_sources PREPEND "${_artgen_dir}/")
    set(_artgen_headers artwork.h canvas.h encoders.h glyphs.h moon.h
        ../../presentation/picture_sizes.h)
    list(TRANSFORM _artgen_headers PREPEND "${_artgen_dir}/")
    # The sizes of the pictures come from the presentation layer's table, shared with the program.
    get_filename_component(_artgen_root "${_artgen_dir}/../.." ABSOLUTE)
    set(_artwork_names 130.bmp 141.bmp 143.bmp 144.bmp 146.bmp 147.bmp 153.bmp nocturo.ico)
    # The larger sets, for the small-icon sizes and the Moon strips of 120, 144 and 192 dpi.
    foreach(offset 100 200 300)
        foreach(base 130 141 143 144 146 147)
            math(EXPR id "${base} + ${offset}")
            list(APPEND _artwork_names ${id}.bmp)
        endforeach()
    endforeach()
endmacro()

# Native builds only: the library `nocturo_artgen` (drawing and encoding, for the tests) and the
# program `artgen`. Safe to call more than once.
function(nocturo_add_artgen_targets)
    if(CMAKE_CROSSCOMPILING OR TARGET artgen)
        return()
    endif()
    _nocturo_artgen_lists()
    find_package(ZLIB REQUIRED)
    add_library(nocturo_artgen STATIC ${_artgen_library_sources})
    target_include_directories(nocturo_artgen PUBLIC "${_artgen_dir}" "${_artgen_root}")
    target_link_libraries(nocturo_artgen PUBLIC ZLIB::ZLIB)
    add_executable(artgen "${_artgen_dir}/artgen.cpp")
    target_link_libraries(artgen PRIVATE nocturo_artgen)
endfunction()

# nocturo_generate_artwork(OUTDIR OUTVAR): adds the build rule that writes the artwork files into
# OUTDIR and sets OUTVAR in the caller to their full paths. Make the consumer
# depend on that list, e.g. list it among the sources of the target whose resource script reads
# the files, and give the script's source OBJECT_DEPENDS on it. Also defines the target
# `nocturo_artwork` (once) that builds the files on its own.
function(nocturo_generate_artwork outdir outvar)
    _nocturo_artgen_lists()
    set(files ${_artwork_names})
    list(TRANSFORM files PREPEND "${outdir}/")
    set(sources "${_artgen_dir}/artgen.cpp" ${_artgen_library_sources})
    set(headers ${_artgen_headers})

    if(CMAKE_CROSSCOMPILING)
        # NO_CMAKE_FIND_ROOT_PATH: the compiler of the build machine, not of the target sysroot.
        find_program(NOCTURO_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH)
        if(NOT NOCTURO_HOST_CXX)
            message(FATAL_ERROR "No C++ compiler for the build machine to build artgen with; "
                                "set NOCTURO_HOST_CXX")
        endif()
        set(hostdir "${CMAKE_CURRENT_BINARY_DIR}/artgen-host")
        set(generator "${hostdir}/artgen")
        add_custom_command(
            OUTPUT "${generator}"
            COMMAND "${CMAKE_COMMAND}" -E make_directory "${hostdir}"
            COMMAND "${NOCTURO_HOST_CXX}" -std=c++17 -O1 -ffp-contract=off -I "${_artgen_root}"
                    -o "${generator}"
                    ${sources} -lz
            DEPENDS ${sources} ${headers}
            COMMENT "Building artgen for the build machine"
            VERBATIM)
        set(command "${generator}")
        set(depends "${generator}")
    else()
        nocturo_add_artgen_targets()
        set(command "$<TARGET_FILE:artgen>")
        set(depends artgen)
    endif()

    add_custom_command(
        OUTPUT ${files}
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${outdir}"
        COMMAND ${command} "${outdir}"
        DEPENDS ${depends}
        COMMENT "Drawing the artwork into ${outdir}"
        VERBATIM)
    if(NOT TARGET nocturo_artwork)
        add_custom_target(nocturo_artwork DEPENDS ${files})
    endif()
    set(${outvar} ${files} PARENT_SCOPE)
endfunction()
