# Peers named at run time in STELLORIA_PEER, measured beside the suite.
list(APPEND STELLORIA_BENCH_SOURCES ${CMAKE_CURRENT_LIST_DIR}/PeerBench.cpp)
