# TinyXML, narrow build, from Debian's source package.
set(tinyxml_dir ${THIRD_PARTY_DIR}/tinyxml)
add_library(tinyxml STATIC
  ${tinyxml_dir}/tinyxml.cpp ${tinyxml_dir}/tinyxmlparser.cpp
  ${tinyxml_dir}/tinyxmlerror.cpp ${tinyxml_dir}/tinystr.cpp)
target_include_directories(tinyxml SYSTEM PUBLIC ${tinyxml_dir})
target_compile_options(tinyxml PRIVATE -w)
# Debian's TinyXML has its STL interface, so its header includes <iostream>.
# Every file that includes <iostream> starts the console streams, which bring
# in the C++ file streams and with them msvcrt's _fstat64, which Windows 2000
# lacks. The interface needs only <istream> and <ostream>, which <sstream>
# brings: TinyXML and the product code that includes its header are compiled
# with <iostream>'s guard set, so that header adds nothing there.
set(TINYXML_WITHOUT_CONSOLE_STREAMS _GLIBCXX_IOSTREAM)
target_compile_definitions(tinyxml PRIVATE ${TINYXML_WITHOUT_CONSOLE_STREAMS})
