# The desktop program's pictures: menu icons and welcome pictures, through Qt's
# offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
add_executable(orven_pictures_tests ${CMAKE_CURRENT_LIST_DIR}/PicturesTest.cpp)
target_link_libraries(orven_pictures_tests PRIVATE orven_resources GTest::gtest)
gtest_discover_tests(orven_pictures_tests PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
