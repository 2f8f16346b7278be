# Adds every direct subfolder of the current source folder that has a CMakeLists.txt, so a new
# folder of src/, tests/ or bench/ joins the build without editing its parent.
function(tessel_add_subfolders)
    file(GLOB entries LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} *)
    foreach(dir IN LISTS entries)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()
