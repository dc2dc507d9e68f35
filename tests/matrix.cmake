# The balance Quorra and the swap Tessik, each on its own and both together.
add_stelloria_test(quorra_tests QuorraTests.cpp)
add_dependencies(quorra_tests Quorra)

add_stelloria_test(tessik_tests TessikTests.cpp)
add_dependencies(tessik_tests Tessik)

add_stelloria_test(matrix_tests MatrixCommonTests.cpp)
add_dependencies(matrix_tests Quorra Tessik)
