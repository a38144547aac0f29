# With GLIMMERIX_SANITIZE every target of the tree is built with AddressSanitizer and
# UndefinedBehaviorSanitizer. Any finding stops the program (no recovery), so a test that
# triggers one fails; tools/test-sanitize.sh sets the runtime options for ctest.
if(GLIMMERIX_SANITIZE)
  set(GLIMMERIX_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                               -fno-omit-frame-pointer)
  add_compile_options(${GLIMMERIX_SANITIZE_FLAGS})
  # The instrumentation confuses GCC's flow-based bounds warnings (it reports reads past
  # QByteArray's shared empty buffer on paths the size checks exclude); the sanitizers check
  # those reads at run time instead.
  add_compile_options($<$<CXX_COMPILER_ID:GNU>:-Wno-array-bounds>
                      $<$<CXX_COMPILER_ID:GNU>:-Wno-stringop-overflow>
                      $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
  add_link_options(-fsanitize=address,undefined)
endif()

# With GLIMMERIX_SANITIZE_THREAD every target is built with ThreadSanitizer instead, for the code
# that runs work on several threads (imports, web album pages); tools/test-threads.sh runs it.
if(GLIMMERIX_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer
                      $<$<CXX_COMPILER_ID:GNU>:-Wno-tsan>)
  add_link_options(-fsanitize=thread)
endif()
