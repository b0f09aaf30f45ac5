# TinyXML, narrow build (no STL interface), from Debian's source package.
set(tinyxml_dir ${THIRD_PARTY_DIR}/tinyxml)
add_library(tinyxml STATIC
  ${tinyxml_dir}/tinyxml.cpp ${tinyxml_dir}/tinyxmlparser.cpp
  ${tinyxml_dir}/tinyxmlerror.cpp ${tinyxml_dir}/tinystr.cpp)
target_include_directories(tinyxml SYSTEM PUBLIC ${tinyxml_dir})
target_compile_options(tinyxml PRIVATE -w)
