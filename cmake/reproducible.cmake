# The same source and options give the same program file, wherever the
# checkout and the build tree are and whenever it is built: the linker writes
# no time stamp, and the compiler writes no build paths (they would reach the
# program through __FILE__ and the like).
add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")
add_link_options(-Wl,--no-insert-timestamp)
