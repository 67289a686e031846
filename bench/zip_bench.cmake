# The ZIP reader against bsdtar on one large archive (run by hand).
add_executable(zip_bench ${CMAKE_CURRENT_LIST_DIR}/zip_bench.cpp)
target_link_libraries(zip_bench PRIVATE solvanta_base)
