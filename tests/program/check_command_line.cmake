cmake_minimum_required(VERSION 3.22)
# Runs the program with --version and --help under a Chinese and an English locale, with no
# window system at all: each answers on standard output in the locale's language and exits 0.

function(expect_answer locale arguments)
  set(patterns ${ARGN})
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            --unset=QT_QPA_PLATFORM --unset=LANGUAGE --unset=LC_MESSAGES LC_ALL=${locale}
            LANG=${locale} ${PROGRAM} ${arguments}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 20)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${arguments} under ${locale} exited with ${status}: ${errors}")
  endif()
  foreach(pattern IN LISTS patterns)
    if(NOT output MATCHES "${pattern}")
      message(FATAL_ERROR "${arguments} under ${locale}: no \"${pattern}\" in:\n${output}")
    endif()
  endforeach()
endfunction()

string(REPLACE "." "\\." version "${VERSION}")
expect_answer(zh_CN.UTF-8 --version "^Quillon ${version} 临床统计助手\n$")
expect_answer(en_US.UTF-8 --version "^Quillon ${version} a statistics assistant for clinicians\n$")
expect_answer(C -v "^Quillon ${version} a statistics")
expect_answer(zh_CN.UTF-8 --help "用法：quillon \\[选项\\]" "选项：" "-h, --help +显示本帮助并退出。"
              "-v, --version +显示版本并退出。")
expect_answer(en_US.UTF-8 -h "Usage: quillon \\[options\\]" "Options:"
              "-h, --help +Displays this help" "-v, --version +Displays the version")
