drav_talk( context, "Welcome to the Heron's Rest. MAINNAME is it? Let me write your company in the book: PARTY" )
     drav_add_talk_path( context, "What news on the river?", "news" )
     drav_add_talk_path( context, "What have you got to eat?", "trade" )
     if drav_check_tag( context, "smugglers_seen" ) then
      drav_add_talk_path( context, "Who carries lanterns through the reeds at night?", "lanterns" )
     end
     drav_add_talk_path( context, "Farewell.", "" )
