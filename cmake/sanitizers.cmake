# TP_SANITIZE="address;undefined" or "thread" instruments every target of the tree.
if(TP_SANITIZE)
    list(JOIN TP_SANITIZE "," _tp_san)
    add_compile_options(-fsanitize=${_tp_san} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=${_tp_san})
endif()
