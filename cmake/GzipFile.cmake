# cmake -DIN=FILE -DOUT=FILE.gz [-DVERSION=X.Y] -DGZIP=PROGRAM -P GzipFile.cmake
# Compresses IN to OUT as Debian wants it: gzip -9n, without the file's name and time inside, so the
# same source always gives the same bytes. With VERSION, a manual page's footer "QDsystem X.Y" on its
# .TH line is set to that version first.
file(READ ${IN} text)
if(VERSION)
  string(REGEX REPLACE "(\n\\.TH [^\n]*\"QDsystem )[^\"]*\"" "\\1${VERSION}\"" text "\n${text}")
  string(SUBSTRING "${text}" 1 -1 text)
endif()
string(REGEX REPLACE "\\.gz$" "" plain ${OUT})
file(WRITE ${plain} "${text}")
execute_process(COMMAND ${GZIP} -9nf ${plain} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${GZIP} -9nf ${plain} failed")
endif()
