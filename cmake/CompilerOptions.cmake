# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra)
if(VANTOR_WERROR)
  add_compile_options(-Werror)
endif()

if(VANTOR_SANITIZE)
  add_compile_options(-fsanitize=${VANTOR_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${VANTOR_SANITIZE})
endif()

# Shared libraries must resolve every symbol at link time, so a missing export shows up in the build.
add_link_options(LINKER:--as-needed)
if(NOT VANTOR_SANITIZE)
  set(VANTOR_NO_UNDEFINED LINKER:--no-undefined)
endif()
