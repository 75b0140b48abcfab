# One static library per source folder, from the folder's own files. A folder that holds
# only interfaces so far becomes a header-only library.
# Files that include Xlib (named *X11*) are compiled on their own: its macros (None, Bool,
# False) would break the Qt headers of the files they share a unity build with.
function(bw_keep_out_of_unity)
    foreach(source ${ARGN})
        if(source MATCHES "[Xx]11[^/]*\\.cpp$")
            set_source_files_properties(${source} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
        endif()
    endforeach()
endfunction()

function(bw_add_part name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    bw_keep_out_of_unity(${sources})
    if(sources)
        add_library(bw_${name} STATIC ${sources} ${headers})
        target_include_directories(bw_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(bw_${name} PUBLIC ${ARG_DEPENDS})
    else()
        add_library(bw_${name} INTERFACE ${headers})
        target_include_directories(bw_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(bw_${name} INTERFACE ${ARG_DEPENDS})
    endif()
endfunction()
