drav_talk( context, "Lanterns? Marsh lights, friend. Drink your ale." )
     drav_add_talk_path( context, "As you say.", "" )
